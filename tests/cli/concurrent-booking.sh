#!/bin/sh
# Two tallora-cli processes booking different jobs into one inventory at the same time, several
# rounds: the inventory must end as the same bookings made one after the other leave it, and
# booking any of them again must be refused.
# Usage: concurrent-booking.sh TALLORA_CLI WORK_FOLDER
set -u
cli=$1
work=$2
rm -rf "$work"
mkdir -p "$work" || exit 1
together=$work/together.sqlite
alone=$work/alone.sqlite
rounds=6

fail() {
    echo "concurrent-booking: $*" >&2
    exit 1
}

# Job N: its own cut lengths and reference, offcuts kept from 1000 mm.
book() {
    "$cli" --stock '*@6000' --cut "6@$((1400 + $2))" --cut "1@$((4800 + $2))" --offcut 1000 \
        --section 'IPE 200' --reference "job $2" --book-offcuts --quiet --inventory "$1"
}

round=1
while [ $round -le $rounds ]; do
    a=$((2 * round))
    b=$((2 * round + 1))
    book "$together" $a & pa=$!
    book "$together" $b & pb=$!
    wait $pa || fail "round $round: job $a was not booked"
    wait $pb || fail "round $round: job $b was not booked"
    round=$((round + 1))
done

job=2
while [ $job -le $((2 * rounds + 1)) ]; do
    book "$alone" $job || fail "job $job was not booked alone"
    book "$together" $job 2>/dev/null
    [ $? -eq 1 ] || fail "job $job was booked twice"
    job=$((job + 1))
done

# The totals of each section: what was booked, wherever it went first.
totals() {
    "$cli" inventory list --inventory "$1" | sed -n '/^$/,$p'
}
t1=$(totals "$together") || fail "the inventory cannot be listed"
t2=$(totals "$alone") || fail "the inventory cannot be listed"
[ -n "$t1" ] || fail "nothing was booked"
[ "$t1" = "$t2" ] || fail "booked at the same time: $t1; one after the other: $t2"
rows1=$("$cli" inventory list --inventory "$together" | wc -l)
rows2=$("$cli" inventory list --inventory "$alone" | wc -l)
[ "$rows1" -eq "$rows2" ] || fail "$rows1 lines listed, not $rows2"
rm -rf "$work"
