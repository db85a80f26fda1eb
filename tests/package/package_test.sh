#!/usr/bin/env bash
# Checks of the installed programs and the Debian package, run by ctest (label "package"):
#   package_test.sh CHECK SOURCE_DIR BUILD_DIR
# install-run  cmake --install into a staging folder; the installed zeltran-setup makes and checks
#              an installation and the installed player plays it without a display
# deb          the .deb built by CPack: its files, its Depends, and the unit it carries
# launcher     desktop-file-validate on a launcher that zeltran-setup fills in
# unit         systemd-analyze verify on an instance of the installed unit template
# man          the man pages pass groff -man -ww without a warning
# lintian      lintian finds no error and no warning in the .deb
set -euo pipefail
check=$1 source_dir=$2 build_dir=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Installs the build into $tmp/root with the prefix /usr, as the package does.
stage() {
    DESTDIR="$tmp/root" cmake --install "$build_dir" --prefix /usr >/dev/null
}

# The documentation files every installation holds, below /usr.
docs=(share/man/man1/zeltran.1.gz share/man/man1/zeltran-setup.1.gz
    share/man/man1/zeltran-pictures.1.gz share/doc/zeltran/copyright share/doc/zeltran/changelog.gz
    share/locale/en/LC_MESSAGES/zeltran.mo)

case $check in
install-run)
    stage
    bin=$tmp/root/usr/bin
    for file in bin/zeltran bin/zeltran-setup bin/zeltran-pictures "${docs[@]}" \
        lib/systemd/user/zeltran@.service; do
        [[ -f "$tmp/root/usr/$file" ]] || fail "not installed: /usr/$file"
    done
    "$bin/zeltran-setup" create "$tmp/show" >/dev/null
    "$bin/zeltran-pictures" --frames "$tmp/show/S001" 5 160 120 >/dev/null
    "$bin/zeltran-setup" check "$tmp/show" >"$tmp/check.txt" || fail "check: $(cat "$tmp/check.txt")"
    # No display: the player warns, plays without a window and ends on SIGTERM through its quit path.
    # Its console is English from the installed catalog.
    shm="zeltran-package-$$"
    (cd "$tmp/show/work" && exec env -u DISPLAY -u WAYLAND_DISPLAY ZELTRAN_SHM_NAME="$shm" \
        ZELTRAN_LANGUAGE=en \
        "$bin/zeltran" </dev/null >"$tmp/out.txt" 2>"$tmp/err.txt") &
    player=$!
    for _ in $(seq 1 100); do
        grep -q 'Thank you for waiting' "$tmp/out.txt" 2>/dev/null && break
        sleep 0.1
    done
    sleep 1
    kill -TERM "$player"
    status=0
    wait "$player" || status=$?
    rm -f "/dev/shm/$shm"
    grep -q 'Thank you for waiting' "$tmp/out.txt" || fail "the player did not load S001"
    grep -q 'Running without one' "$tmp/err.txt" || fail "no warning about the missing display"
    grep -qF '[ ZELTRAN  Ver.1.3  Keys ]' "$tmp/out.txt" || fail "the installed player is not English"
    [[ $status -eq 0 ]] || fail "the player ended with status $status: $(tail -5 "$tmp/err.txt")"
    ;;
deb)
    (cd "$tmp" && cpack --config "$build_dir/CPackConfig.cmake" -B "$tmp/out" >/dev/null)
    deb=$(ls "$tmp"/out/zeltran_*_amd64.deb)
    files=$(dpkg-deb -c "$deb" | awk '{print $6}')
    for file in ./usr/bin/zeltran ./usr/bin/zeltran-setup ./usr/bin/zeltran-pictures \
        "${docs[@]/#/./usr/}" ./usr/lib/systemd/user/zeltran@.service; do
        grep -qxF "$file" <<<"$files" || fail "$file missing from $(basename "$deb")"
    done
    depends=$(dpkg-deb -f "$deb" Depends)
    for library in ffmpeg fonts-dejavu-core libopencv-core libopencv-videoio libsdl2 libsdl2-ttf \
        libturbojpeg libmicrohttpd libc6; do
        grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
    done
    grep -q gstreamer1.0-plugins-base <<<"$(dpkg-deb -f "$deb" Recommends)" ||
        fail "Recommends lacks the GStreamer elements of gst: cameras"
    dpkg-deb -x "$deb" "$tmp/unpacked"
    grep -qx 'ExecStart=/usr/bin/zeltran' "$tmp/unpacked/usr/lib/systemd/user/zeltran@.service" ||
        fail "the packaged unit does not start /usr/bin/zeltran"
    ;;
launcher)
    # A folder name that needs escaping in a desktop entry; outside a Japanese locale the player
    # is started with an English console.
    for locale in ja_JP.UTF-8 C.UTF-8; do
        show="$tmp/$locale/my show\\1"
        LC_ALL=$locale "$build_dir/zeltran-setup" create "$show" >/dev/null
        desktop-file-validate "$show/zeltran.desktop" || fail "desktop-file-validate ($locale)"
        grep -qxF "Path=$tmp/$locale/my show\\\\1/work" "$show/zeltran.desktop" ||
            fail "Path= of the launcher"
        exec_line='Exec=zeltran %F'
        [[ $locale == ja_* ]] || exec_line='Exec=env ZELTRAN_LANGUAGE=en zeltran %F'
        grep -qxF "$exec_line" "$show/zeltran.desktop" || fail "Exec= of the launcher ($locale)"
    done
    ;;
unit)
    stage
    # An instance for /srv/show whose player is the staged one; the user manager's checks run
    # without a session through a private runtime folder.
    mkdir -m 700 "$tmp/runtime" "$tmp/units"
    sed "s|^ExecStart=/usr/bin/zeltran|ExecStart=$tmp/root/usr/bin/zeltran|" \
        "$tmp/root/usr/lib/systemd/user/zeltran@.service" >"$tmp/units/zeltran@srv-show.service"
    XDG_RUNTIME_DIR="$tmp/runtime" systemd-analyze --user verify --man=no \
        "$tmp/units/zeltran@srv-show.service" >"$tmp/verify.txt" 2>&1 ||
        fail "systemd-analyze verify: $(cat "$tmp/verify.txt")"
    [[ ! -s "$tmp/verify.txt" ]] || fail "systemd-analyze verify: $(cat "$tmp/verify.txt")"
    ;;
man)
    for page in "$source_dir"/dist/man/*.1; do
        warnings=$(groff -man -ww -z "$page" 2>&1)
        [[ -z "$warnings" ]] || fail "$page: $warnings"
    done
    ;;
lintian)
    command -v lintian >/dev/null || fail "lintian is not installed (scripts/packages lists it)"
    (cd "$tmp" && cpack --config "$build_dir/CPackConfig.cmake" -B "$tmp/out" >/dev/null)
    lintian --fail-on error,warning "$tmp"/out/zeltran_*_amd64.deb >"$tmp/lintian.txt" 2>&1 ||
        fail "lintian: $(cat "$tmp/lintian.txt")"
    ;;
*)
    fail "unknown check $check"
    ;;
esac
echo "package $check: passed"
