#!/bin/sh
# Runs a test in a network namespace of its own, with only its loopback interface up, so a
# test that needs the HUD's fixed gesture port gets it even while a HUD runs beside it.
# As root (as in CI) a plain namespace; otherwise a user namespace where the kernel allows
# one; where neither can be made, the test runs as it is and says so.
if unshare -n true 2>/dev/null; then
  exec unshare -n sh -c 'ip link set lo up && exec "$@"' sh "$@"
elif unshare -rn true 2>/dev/null; then
  exec unshare -rn sh -c 'ip link set lo up && exec "$@"' sh "$@"
fi
echo "own-network: no network namespace can be made here; running on the shared loopback" >&2
exec "$@"
