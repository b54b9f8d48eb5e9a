# The seeded random soak (guest-soak.sh) with a seed of its own each run, printed in the report with the
# command that replays it.
: "${soak_seed:=random}"
: "${soak_steps:=70}"
# Every setting named, so the store shows each one from the start.
initial_state=$'[printer]\nserial = KRN0000001\npower-on = 0\nauto-power-off = 6\nnetwork = 2\ninfo-print = 3\ncommand-mode = 1'
second_printer_state=$'[printer]\nserial = OTH0000001\nmanufacturer = Othermake\nproduct = P-100'
guest_seconds=$((200 + soak_steps * 4))
step_seconds=300

scenario() {
  soak
}
