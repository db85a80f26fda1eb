# Shared by scripts/demo and scripts/test: package installation and the build.
ZELTRAN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Installs the packages of scripts/packages that are missing (apt-get; root or sudo). One line a
# step; apt's own output goes to build-apt.log and only its tail is shown when a step fails.
install_packages() {
    local missing=()
    local package
    while read -r package; do
        [[ -z "$package" || "$package" == \#* ]] && continue
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done <"$ZELTRAN_ROOT/scripts/packages"
    [[ ${#missing[@]} -eq 0 ]] && return 0
    local log="$ZELTRAN_ROOT/build-apt.log"
    local sudo=()
    [[ $(id -u) -ne 0 ]] && sudo=(sudo)
    echo "Installing ${#missing[@]} Debian packages: ${missing[*]}"
    echo "  (apt-get's messages: $log)"
    # A password is asked for once, here, not in the middle of a step's line.
    [[ ${#sudo[@]} -eq 0 ]] || sudo -v || return 1
    : >"$log"
    apt_step 1 "updating the package lists" "$log" "${sudo[@]}" apt-get update || return 1
    apt_step 2 "downloading" "$log" "${sudo[@]}" apt-get install -y --no-install-recommends \
        --download-only "${missing[@]}" || return 1
    apt_step 3 "unpacking and setting up" "$log" "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends "${missing[@]}" || return 1
}

# apt_step N TEXT LOG COMMAND...: runs one step of the installation with its output in LOG.
apt_step() {
    local step=$1 text=$2 log=$3
    shift 3
    local started=$SECONDS
    printf '  [%d/3] %s ... ' "$step" "$text"
    if "$@" </dev/null >>"$log" 2>&1; then
        echo "done ($((SECONDS - started)) s)"
        return 0
    fi
    echo "FAILED"
    echo "The last lines of $log:" >&2
    tail -n 25 "$log" >&2
    return 1
}

# Configures and builds into the folder $1 with the extra CMake arguments that follow.
build_into() {
    local dir=$1
    shift
    cmake -S "$ZELTRAN_ROOT" -B "$ZELTRAN_ROOT/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$ZELTRAN_ROOT/$dir" -j "$(nproc)"
}

# Starts a private Xvfb (screen $1, default 1280x1024x24) and exports DISPLAY; it is stopped
# when the calling shell exits (every one started, when called again).
start_xvfb() {
    local screen=${1:-1280x1024x24}
    local n
    for n in $(seq 91 140); do
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        Xvfb ":$n" -screen 0 "$screen" -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        local i
        for i in $(seq 1 50); do
            [[ -e /tmp/.X11-unix/X$n ]] && break
            sleep 0.1
        done
        if kill -0 "$XVFB_PID" 2>/dev/null; then
            export DISPLAY=":$n"
            XVFB_PIDS="${XVFB_PIDS:-} $XVFB_PID"
            trap 'kill $XVFB_PIDS 2>/dev/null' EXIT
            return 0
        fi
    done
    echo "Could not start Xvfb" >&2
    return 1
}
