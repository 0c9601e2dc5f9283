# Sourced first by the scripts that run the real panel: they run again in a private mount
# namespace with an empty /run/lock of their own, so a panel running elsewhere on this
# machine holds no port lock here (the port lock is machine-wide). Where no namespace can be
# made, the script runs as it is.
if [ -z "${VORNIK_PRIVATE_LOCKS:-}" ] && [ -d /run/lock ] && unshare --mount true 2>/dev/null; then
  export VORNIK_PRIVATE_LOCKS=1
  exec unshare --mount --propagation private bash -c \
    'mount -t tmpfs tmpfs /run/lock 2>/dev/null; exec bash "$0" "$@"' "$0" "$@"
fi
