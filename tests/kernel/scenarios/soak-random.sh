# The seeded random soak (guest-soak.sh) with a seed of its own each run, printed in the report with the
# command that replays it.
: "${soak_seed:=random}"
: "${soak_steps:=70}"
second_printer_state=$'[printer]\nserial = OTH0000001\nmanufacturer = Othermake\nproduct = P-100'
guest_seconds=$((200 + soak_steps * 4))
step_seconds=300

scenario() {
  soak
}
