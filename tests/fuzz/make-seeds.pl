#!/usr/bin/perl
# perl tests/fuzz/make-seeds.pl: writes the hand-made starting inputs of the
# two fuzz targets into corpus/<target>/ (the input formats are described at
# the top of PortRecordsFuzzer.cpp and in platform/PlacementRecord.h). The
# port records are laid out for the 64-bit host: 32 bytes a record.
use strict;
use warnings;
use File::Basename qw(dirname);

my $corpus = dirname(__FILE__) . '/corpus';
my $record = 32;

sub put {
    my ($target, $name, $bytes) = @_;
    -d $_ or mkdir $_ or die "$_: $!" for $corpus, "$corpus/$target";
    open(my $file, '>:raw', "$corpus/$target/$name") or die "$name: $!";
    print $file $bytes;
    close($file);
}

# --- port records ---

sub call { my ($bytes, $records, $result) = @_; return pack('l<l<C', $bytes, $records, $result); }
sub inside { return ($_[0] << 2) | 1; }          # an address at this offset of the buffer
sub around_end { return (($_[0] + 8) << 2) | 2; } # this many bytes from the reported end
sub elsewhere { my ($kind, $offset) = @_; return (((($offset << 2) | $kind) << 2) | 3); }

# The spooler's own layout: the records, then their strings.
sub layout {
    my @ports = @_;    # [name, monitor, description, type]
    my ($strings, $offset, @records) = ('', $record * @ports);
    for my $port (@ports) {
        my @at;
        for my $text (@$port[0 .. 2]) {
            push @at, defined $text ? inside($offset + length $strings) : 0;
            $strings .= "$text\0" if defined $text;
        }
        push @records, pack('L<4', @at, $port->[3]);
    }
    my $content = ("\0" x ($record * @ports)) . $strings;
    return (length $content, pack('C', scalar @ports) . join('', @records) . pack('S<', length $content) . $content);
}

sub local_port { return [$_[0], 'Local Monitor', 'Local Port', 1]; }

my ($eight, $eight_data) = layout(map { local_port($_) } qw(COM1: COM2: COM3: COM4: FILE: LPT1: LPT2: LPT3:));
put('port_records', 'eight-ports', "\0" . call($eight, 0, 0) . call($eight, 8, 1) . $eight_data);

my ($one) = layout(local_port('LPT1:'));
my ($two, $two_data) = layout(local_port('LPT1:'), local_port('NUL:'));
put('port_records', 'growing-ports', "\0" . call($one, 0, 0) . call($two, 0, 0) . pack('CS<', 0, 0)
    . call($two, 2, 1) . $two_data);

my $growing = "\0" . call(40, 0, 0);
$growing .= call(40 + 40 * $_, 0, 0) . pack('CS<', 0, 0) for 1 .. 4;
put('port_records', 'ports-keep-growing', $growing);

put('port_records', 'no-bytes', "\0" . call(0, 0, 0));
put('port_records', 'no-bytes-on-the-data-call', "\0" . call($one, 0, 0) . call(-1, 5, 1) . pack('CS<', 0, 0));

# Every kind of address the spooler could hand over, a record count beyond
# the whole records, and fewer bytes reported than written: the strings in
# the tail are there but not reported.
my ($mixed, $mixed_data) = layout(['LPT1:', 'Local Monitor', undef, 15], ['', '', '', 0], local_port('COM1:'));
my $tail = $mixed - 6;
my $odd = pack('C', 4)
    . pack('L<4', around_end(-3), around_end(0), elsewhere(0, 1), 2)
    . pack('L<4', elsewhere(1, 0), elsewhere(2, 2), elsewhere(3, 0x1234), 4)
    . pack('L<4', inside($tail), inside($mixed + 11), inside($mixed + 3), 8)
    . pack('L<4', inside(0), inside($record), 0, 0xFFFFFFFF);
put('port_records', 'odd-addresses', "\0" . call($mixed, 0, 0) . call($tail, 1000, 1) . $odd
    . substr($mixed_data, 1 + 3 * 16));
put('port_records', 'list-refuses-the-second-row', "\x81" . call($eight, 0, 0) . call($eight, 8, 1) . $eight_data);

# --- placement ---

sub placement { return pack('a4L<l<4L<', 'DVPL', 1, @_); }
put('placement', 'normal', placement(100, 100, 500, 400, 1));
put('placement', 'at-the-limits', placement(-32767, -32767, 32767, 32767, 1));
put('placement', 'maximised', placement(100, 100, 500, 400, 3));
put('placement', 'empty-rectangle', placement(300, 100, 300, 400, 1));
put('placement', 'truncated', substr(placement(100, 100, 500, 400, 1), 0, 27));
put('placement', 'other-version', pack('a4L<l<4L<', 'DVPL', 3, 100, 100, 500, 400, 1));
sub placement2 { return pack('a4L<l<4L<l<3', 'DVPL', 2, @_); }
put('placement', 'with-resolution', placement2(100, 100, 500, 400, 2, 144, 384, 261));
put('placement', 'client-larger-than-window', placement2(100, 100, 500, 400, 1, 96, 401, 300));

# --- row order ---

# Operations as RowOrderFuzzer.cpp reads them.
sub add_row { return pack('CC', 0, $_[0]); }
sub sorted { return pack('CC', 2, $_[0]); }
sub sort_key { return pack('CC', 3, $_[0]); }
sub sort_order { return pack('CC', 4, $_[0]); }
sub set_cell { return pack('CCCC', 5, @_); }
sub arrange { my ($focused, @selected) = @_;
    return pack('CC', 6, scalar @selected) . pack('C*', @selected) . (defined $focused ? pack('CC', 1, $focused) : "\0"); }

my $rows = join('', map { add_row($_) } 0x05, 0x1B, 0x2E, 0x07, 0x33);
put('row_order', 'sorted-then-more-rows',
    $rows . sorted(1) . arrange(2, 2) . add_row(0x11) . add_row(0x06) . arrange(0, 1, 3));
put('row_order', 'sort-by-sub-item-descending',
    $rows . set_cell(0, 1, 0x17) . set_cell(3, 1, 0x02) . sort_key(1) . sort_order(1) . sorted(1)
    . arrange(undef, 0, 4) . set_cell(1, 1, 0x3F) . arrange(1, 1));
put('row_order', 'cleared-and-refilled', $rows . sorted(1) . arrange(0, 0) . pack('C', 1) . $rows . set_cell(2, 0, 9)
    . arrange(undef));
