# The seeded soak of soak.sh with the seed whose run found a claim made while usblp was still binding
# to a fresh plug, CUPS's backend setting it aside and back meanwhile, that left the printer without
# its driver for good: the same choices on every run, so that finding stays found.
: "${soak_seed:=880458068}"
# shellcheck source=soak.sh
source "${BASH_SOURCE[0]%/*}/soak.sh"
