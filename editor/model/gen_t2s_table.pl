#!/usr/bin/perl
# gen_t2s_table.pl IN OUT: turns OpenCC's Traditional-to-Simplified character list
# (text form: "trad<TAB>simp [alternatives]") into a sorted C++ table of UTF-16 pairs.
# Only single BMP characters that map to a different single BMP character are kept;
# where OpenCC offers several, the first is its preferred one.
use strict;
use warnings;
my ($in, $out) = @ARGV;
open(my $fh, '<:encoding(UTF-8)', $in) or die "$in: $!";
my %map;
while (my $line = <$fh>) {
    chomp $line;
    my ($from, $to) = split /\t/, $line, 2;
    next unless defined $to;
    ($to) = split / /, $to;
    next unless length($from) == 1 && length($to) == 1;
    my ($f, $t) = (ord($from), ord($to));
    next if $f > 0xFFFF || $t > 0xFFFF || $f == $t;
    $map{$f} = $t;
}
close $fh;
die "no entries in $in" unless %map;
open(my $oh, '>', "$out.tmp") or die "$out: $!";
print $oh "// Generated from OpenCC's TSCharacters dictionary; do not edit.\n";
for my $f (sort { $a <=> $b } keys %map) {
    printf $oh "{0x%04X, 0x%04X},\n", $f, $map{$f};
}
close $oh;
rename "$out.tmp", $out or die "$out: $!";
