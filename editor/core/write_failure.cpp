#include "write_failure.h"

#include "ansi_codepage.h"
#include "file_io.h"
#include "private_profile.h"

std::u16string WriteFailureMessage(std::string_view file, int code) {
    return u"无法写入文件“" + AnsiToWide(file) + u"”：" + FileErrorText(code) + u"\r\n文件未作任何改动。";
}

std::u16string ProfileWriteFailureMessage() {
    const ProfileFailure &f = ProfileWriteFailure();
    return WriteFailureMessage(f.File, f.Code);
}
