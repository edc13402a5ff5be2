# Where bootstrap.sh keeps the libraries it builds; sourced by the scripts that need to find them and
# read by cmake/Dependencies.cmake. ZAVIX_DEPS_ROOT moves the cache; the recipe number keys it and is
# bumped whenever bootstrap.sh changes what it puts there.
ZAVIX_DEPS_RECIPE=1
ZAVIX_DEPS_DIR="${ZAVIX_DEPS_ROOT:-/var/cache/zavix-deps}/r${ZAVIX_DEPS_RECIPE}"
