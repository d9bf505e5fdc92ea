#!/usr/bin/perl
# split-icon.pl ICO FIRST-ID PREFIX
# Turns an icon file into what a resource script can embed with exact image
# numbers: PREFIX-<id>.bin, the data of each image (an RT_ICON resource),
# numbered from FIRST-ID in the file's order, and PREFIX.grp, the icon group
# (an RT_GROUP_ICON resource) whose entries name those numbers. windres's
# ICON statement would number the images itself, one after another across
# the whole program.
# Only bitmap images are accepted: every image of our icons is a small one
# with a palette, and a PNG image here means the drawing script went wrong.
use strict;
use warnings;

die "usage: split-icon.pl ICO FIRST-ID PREFIX\n" unless @ARGV == 3;
my ($ico, $first_id, $prefix) = @ARGV;
die "split-icon.pl: image number $first_id is not in 1..65535\n"
    unless $first_id =~ /^\d+$/ && $first_id >= 1 && $first_id <= 65535;

sub read_file {
    my ($name) = @_;
    open(my $in, '<:raw', $name) or die "split-icon.pl: $name: $!\n";
    local $/;
    my $data = <$in>;
    close($in);
    return $data;
}

sub write_file {
    my ($name, $data) = @_;
    open(my $out, '>:raw', $name) or die "split-icon.pl: $name: $!\n";
    print {$out} $data or die "split-icon.pl: $name: $!\n";
    close($out) or die "split-icon.pl: $name: $!\n";
}

my $file = read_file($ico);
die "split-icon.pl: $ico: too short for an icon file\n" if length($file) < 6;
my ($reserved, $type, $count) = unpack('v3', $file);
die "split-icon.pl: $ico: not an icon file\n" unless $reserved == 0 && $type == 1 && $count > 0;
die "split-icon.pl: $ico: image numbers would pass 65535\n" if $first_id + $count - 1 > 65535;
die "split-icon.pl: $ico: truncated directory\n" if length($file) < 6 + 16 * $count;

# The group is the file's directory with each 32-bit file offset replaced by
# a 16-bit image number, and with the planes and bit count that the image
# itself states (icon files often leave them 0).
my $group = pack('v3', 0, 1, $count);
for my $i (0 .. $count - 1) {
    my ($width, $height, $colours, undef, undef, undef, $size, $offset) =
        unpack('C4 v2 V2', substr($file, 6 + 16 * $i, 16));
    my $where = "$ico, image " . ($i + 1);
    die "$where: outside the file\n" if $offset + $size > length($file);
    my $image = substr($file, $offset, $size);
    die "$where: not a bitmap (a PNG image?)\n" if length($image) < 40 || unpack('V', $image) != 40;

    my ($bi_width, $bi_height, $planes, $bits) = unpack('x4 l l v v', $image);
    my $w = $width || 256;
    my $h = $height || 256;
    # The height of an icon bitmap counts the colour image and the mask.
    die "$where: its bitmap is ${bi_width}x$bi_height, not ${w}x" . (2 * $h) . "\n"
        unless $bi_width == $w && $bi_height == 2 * $h;
    die "$where: $bits bits per pixel, not 1, 4 or 8\n" unless $bits == 1 || $bits == 4 || $bits == 8;
    my $expected_colours = 1 << $bits;
    $expected_colours = 0 if $expected_colours >= 256;
    die "$where: the directory says $colours colours, the bitmap has $bits bits per pixel\n"
        unless $colours == $expected_colours;

    my $id = $first_id + $i;
    write_file("$prefix-$id.bin", $image);
    $group .= pack('C4 v2 V v', $width, $height, $colours, 0, $planes, $bits, $size, $id);
}
write_file("$prefix.grp", $group);
