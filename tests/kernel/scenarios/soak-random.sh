# The seeded random soak of soak.sh with a seed of its own each run, printed in the report with the
# command that replays it.
: "${soak_seed:=random}"
# shellcheck source=soak.sh
source "${BASH_SOURCE[0]%/*}/soak.sh"
