#!/bin/sh
# make-samples.sh FOLDER: writes the sample rules file and string table into FOLDER.
exec python3 "$(dirname "$0")/make_samples.py" "${1:-samples}"
