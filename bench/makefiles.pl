#!/usr/bin/perl
# Makes the benchmark's folders of files, once: <root>/f<count> for each count given, with
# <root>/f<count>.done beside it when complete (holding the version of the names, so that a
# folder of older names is made again). Files are made from Linux inside the Wine prefix's
# drive, far faster than through Wine, and Wine sees them at once.
# Names are mostly ASCII, one in twenty Japanese that code page 932 holds, one in twenty with
# characters it has no place for (UTF-8 on disk, UTF-16 to the program); sizes and
# modification times repeat, so that every order has ties. Sizes are sparse.
# Usage: makefiles.pl ROOT COUNT...
use strict;
use warnings;

my ($root, @counts) = @ARGV;
my $version = "names 2\n";
die "usage: $0 root count...\n" unless defined $root && @counts;
mkdir $root unless -d $root;

# "表" has 0x5C, the backslash, as its Shift-JIS trail byte; "ｶﾒﾗ" is half-width katakana.
my @japanese = ("写真", "表示", "ｶﾒﾗ", "夏休み");
my @beyond = ("写真😀", "café ", "사진", "Ærø-");
my @ascii = ("IMG_", "photo-", "Scan ", "a", "DSC", "Holiday_Beach_", "img_", "Z");
my @extensions = (".jpg", ".JPG", ".png", ".gif", ".jpeg");

sub made {
    my ($marker) = @_;
    open(my $in, "<", $marker) or return 0;
    local $/;
    my $text = <$in>;
    return defined $text && $text eq $version;
}

for my $count (@counts) {
    die "not a count: $count\n" unless $count =~ /^[1-9][0-9]*$/;
    my $folder = "$root/f$count";
    next if made("$folder.done");
    system("rm", "-rf", $folder) == 0 or die "cannot clear $folder\n";
    mkdir $folder or die "cannot make $folder: $!\n";
    srand($count); # the same folder on every machine with the same perl
    for my $i (0 .. $count - 1) {
        # 7919 is prime, so the numbers are a permutation: names unique, not in folder order
        my $number = sprintf("%06d", ($i * 7919) % $count);
        my $stem = $i % 20 == 0  ? $japanese[$i / 20 % @japanese]
                 : $i % 20 == 10 ? $beyond[$i / 20 % @beyond]
                 : $ascii[int(rand(@ascii))];
        my $name = $stem . $number . $extensions[int(rand(@extensions))];
        my $path = "$folder/$name";
        open(my $file, ">", $path) or die "cannot make $path: $!\n";
        close($file);
        truncate($path, int(rand(2000)) * 1021) or die "cannot size $path: $!\n";
        my $when = 1600000000 + int(rand(5000)) * 60;
        utime($when, $when, $path) or die "cannot date $path: $!\n";
    }
    open(my $done, ">", "$folder.done") or die "cannot mark $folder: $!\n";
    print $done $version;
    close($done);
}
