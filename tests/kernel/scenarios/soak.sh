# The seeded random soak (guest-soak.sh) with a fixed seed, the one of the long soak that found a run
# waiting past its bound while CUPS kept cutting in and a job the printer held for good: the same choices
# on every run, so a finding stays found. By hand:
# tests/kernel/run-scenario tests/kernel/scenarios/soak.sh build --steps 2000 [--seed N|random].
: "${soak_seed:=7}"
: "${soak_steps:=70}"
# Every setting named, so the store shows each one from the start.
initial_state=$'[printer]\nserial = KRN0000001\npower-on = 0\nauto-power-off = 6\nnetwork = 2\ninfo-print = 3\ncommand-mode = 1'
second_printer_state=$'[printer]\nserial = OTH0000001\nmanufacturer = Othermake\nproduct = P-100'
guest_seconds=$((200 + soak_steps * 4))
step_seconds=300

scenario() {
  soak
}
