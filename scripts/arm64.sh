# Shared by scripts/package arm64 and scripts/check-arm64: a Debian 12 arm64 root made with
# debootstrap and entered through qemu-user-static. The programs are cross-compiled on the host
# against a copy of that root (the sysroot), so no compiler runs under emulation.
ZELTRAN_ARM64_CACHE=${ZELTRAN_ARM64_CACHE:-/var/cache/zeltran-arm64}
ZELTRAN_ARM64_MIRROR=${ZELTRAN_ARM64_MIRROR:-http://deb.debian.org/debian}
ARM64_BASE_TAR=$ZELTRAN_ARM64_CACHE/base.tar
ARM64_SYSROOT=$ZELTRAN_ARM64_CACHE/sysroot
# Host tools, all Debian 12 packages: the root's maker, the emulator, the cross compiler and the
# build tools; Xvfb and ImageMagick for the window check of scripts/check-arm64.
ARM64_HOST_PACKAGES=(debootstrap qemu-user-static g++-aarch64-linux-gnu cmake pkg-config dpkg-dev
    file gettext xvfb imagemagick)
# What the build and the unit tests need inside the sysroot (arm64 libraries and headers).
ARM64_BUILD_PACKAGES=(libopencv-core-dev libopencv-imgproc-dev libopencv-imgcodecs-dev
    libopencv-videoio-dev libsdl2-dev libsdl2-ttf-dev libx11-dev libxext-dev libturbojpeg0-dev libsystemd-dev
    liblo-dev libmicrohttpd-dev libgtest-dev libgmock-dev dpkg-dev)

# arm64_need_root: the roots are made with chroot, mount and debootstrap, which need root.
arm64_need_root() {
    if [[ $(id -u) -ne 0 ]]; then
        echo "The arm64 build and check make a Debian root with debootstrap: run as root (sudo)." >&2
        exit 1
    fi
}

# Installs the missing host tools with apt-get, one line for the whole step.
arm64_host_tools() {
    local missing=() package
    for package in "${ARM64_HOST_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [[ ${#missing[@]} -eq 0 ]] && return 0
    local log="$ZELTRAN_ROOT/build-apt.log"
    echo "Installing ${#missing[@]} Debian packages for arm64: ${missing[*]}"
    apt_step 1 "updating the package lists" "$log" apt-get update || return 1
    apt_step 2 "downloading" "$log" apt-get install -y --no-install-recommends --download-only \
        "${missing[@]}" || return 1
    apt_step 3 "unpacking and setting up" "$log" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends "${missing[@]}" || return 1
}

# Lets the kernel run arm64 programs through qemu-aarch64-static; the F flag loads the emulator
# at registration, so it works inside a chroot that does not contain it.
arm64_register_binfmt() {
    local dir=/proc/sys/fs/binfmt_misc
    [[ -e $dir/register ]] || mount -t binfmt_misc binfmt_misc "$dir"
    [[ -e $dir/qemu-aarch64 ]] && return 0
    cat /usr/lib/binfmt.d/qemu-aarch64.conf >"$dir/register"
}

# arm64_enter ROOT: mounts what programs in ROOT need: proc, /dev with a private /dev/shm, the
# host's X socket folder, the shared package cache, and the repository at its own path, so build
# paths compiled into the tests hold inside too. What comes from the host is mounted read-only.
# arm64_leave ROOT undoes it; callers hold the cache lock (arm64_lock).
arm64_enter() {
    local root=$1
    arm64_leave "$root" || return 1
    mkdir -p "$root/proc" "$root/dev" "$root/tmp/.X11-unix" "$root$ZELTRAN_ROOT" \
        "$ZELTRAN_ARM64_CACHE/archives/partial" "$root/var/cache/apt/archives"
    mount -t proc proc "$root/proc"
    arm64_bind_read_only /dev "$root/dev"
    mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
    arm64_bind_read_only /tmp/.X11-unix "$root/tmp/.X11-unix"
    mount --bind "$ZELTRAN_ARM64_CACHE/archives" "$root/var/cache/apt/archives"
    arm64_bind_read_only "$ZELTRAN_ROOT" "$root$ZELTRAN_ROOT"
    cp /etc/resolv.conf "$root/etc/resolv.conf"
}

arm64_bind_read_only() {
    mount --bind "$1" "$2"
    mount -o remount,bind,ro "$2"
}

# The mount points below ROOT, deepest first.
arm64_mounts_below() {
    awk -v root="$1/" 'index($5, root) == 1 {print $5}' /proc/self/mountinfo | sort -r
}

# arm64_leave ROOT: unmounts everything below ROOT; fails when something stays mounted, so that
# no rm -rf of the root can ever reach the host's folders through a mount.
arm64_leave() {
    local root=$1 target pass
    # Several passes: a mount stacked on another at the same point hides the ones below it.
    for pass in 1 2 3 4; do
        for target in $(arm64_mounts_below "$root"); do
            umount "$target" 2>/dev/null || umount -l "$target" 2>/dev/null || true
        done
    done
    [[ -z $(arm64_mounts_below "$root") ]] || {
        echo "Still mounted below $root: $(arm64_mounts_below "$root")" >&2
        return 1
    }
}

# Only one arm64 build or check at a time: they share the roots under the cache folder.
arm64_lock() {
    mkdir -p "$ZELTRAN_ARM64_CACHE"
    exec {ARM64_LOCK_FD}>"$ZELTRAN_ARM64_CACHE/lock"
    flock -n "$ARM64_LOCK_FD" || {
        echo "Another arm64 build or check is running (lock $ZELTRAN_ARM64_CACHE/lock); waiting."
        flock "$ARM64_LOCK_FD"
    }
}

# The plain environment of programs inside a root.
ARM64_ENV=(/usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8
    DEBIAN_FRONTEND=noninteractive)

# arm64_run ROOT COMMAND...: runs COMMAND inside ROOT (emulated) with the plain environment.
arm64_run() {
    local root=$1
    shift
    chroot "$root" "${ARM64_ENV[@]}" "$@"
}

# Makes $ARM64_BASE_TAR once: a minimal Debian 12 arm64 root with apt sources for bookworm and its
# updates, packed so that every fresh root is a plain unpack.
arm64_base() {
    [[ -f $ARM64_BASE_TAR ]] && return 0
    local new=$ZELTRAN_ARM64_CACHE/base-new log=$ZELTRAN_ARM64_CACHE/debootstrap.log
    rm -rf "$new"
    mkdir -p "$ZELTRAN_ARM64_CACHE"
    if ! debootstrap --arch=arm64 --variant=minbase bookworm "$new" "$ZELTRAN_ARM64_MIRROR" \
        >"$log" 2>&1; then
        echo "debootstrap failed; the last lines of $log:" >&2
        tail -n 25 "$log" >&2
        return 1
    fi
    arm64_configure_apt "$new"
    tar -C "$new" -cf "$ARM64_BASE_TAR.new" .
    mv "$ARM64_BASE_TAR.new" "$ARM64_BASE_TAR"
    rm -rf "$new"
}

arm64_configure_apt() {
    local root=$1
    cat >"$root/etc/apt/sources.list" <<SOURCES
deb $ZELTRAN_ARM64_MIRROR bookworm main
deb $ZELTRAN_ARM64_MIRROR bookworm-updates main
deb http://deb.debian.org/debian-security bookworm-security main
SOURCES
    echo 'APT::Install-Recommends "false";' >"$root/etc/apt/apt.conf.d/90zeltran"
    # Package scripts must not start services inside the root.
    printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
    chmod 755 "$root/usr/sbin/policy-rc.d"
}

# arm64_fresh_root DIR: DIR becomes a fresh copy of the base root.
arm64_fresh_root() {
    local root=$1
    arm64_leave "$root" || return 1
    rm -rf --one-file-system "$root"
    mkdir -p "$root"
    tar -C "$root" -xf "$ARM64_BASE_TAR"
}

# Makes or updates $ARM64_SYSROOT: the base root with the build's -dev packages. A changed package
# list installs again.
arm64_sysroot() {
    local stamp=$ARM64_SYSROOT/.zeltran-packages wanted="${ARM64_BUILD_PACKAGES[*]}"
    [[ -f $stamp && $(cat "$stamp") == "$wanted" ]] && return 0
    [[ -d $ARM64_SYSROOT ]] || arm64_fresh_root "$ARM64_SYSROOT"
    local log=$ZELTRAN_ARM64_CACHE/sysroot-apt.log status=0
    arm64_enter "$ARM64_SYSROOT"
    {
        arm64_run "$ARM64_SYSROOT" apt-get update &&
            arm64_run "$ARM64_SYSROOT" apt-get install -y "${ARM64_BUILD_PACKAGES[@]}"
    } >"$log" 2>&1 || status=$?
    arm64_leave "$ARM64_SYSROOT" || return 1
    if [[ $status -ne 0 ]]; then
        echo "Installing the arm64 build packages failed; the last lines of $log:" >&2
        tail -n 25 "$log" >&2
        return 1
    fi
    # Absolute links inside the root (libfoo.so -> /lib/...) must lead into the root for the
    # cross linker.
    arm64_relative_links "$ARM64_SYSROOT"
    echo "$wanted" >"$stamp"
}

arm64_relative_links() {
    local root=$1 link target step
    while IFS= read -r -d '' link; do
        # Followed inside the root to the end: alternatives lead through /etc/alternatives.
        target=$(readlink "$link")
        for step in 1 2 3 4 5 6 7 8; do
            [[ -L $root$target ]] || break
            local next
            next=$(readlink "$root$target")
            [[ $next == /* ]] || next=$(dirname "$target")/$next
            target=$next
        done
        ln -sfn "$(realpath -s -m --relative-to="$(dirname "$link")" "$root$target")" "$link"
    done < <(find "$root/usr/lib" -type l -lname '/*' -print0)
}

# arm64_timed TEXT COMMAND...: one line for a step, with how long it took.
arm64_timed() {
    local text=$1 started=$SECONDS
    shift
    printf '  %s ... ' "$text"
    if "$@"; then
        echo "done ($((SECONDS - started)) s)"
        return 0
    fi
    echo "FAILED ($((SECONDS - started)) s)"
    return 1
}

# The root, the sysroot and the cross-compiled programs in build-arm64/ (targets as arguments).
arm64_build() {
    arm64_need_root
    arm64_host_tools
    arm64_register_binfmt
    arm64_timed "Debian 12 arm64 root (debootstrap, once)" arm64_base
    arm64_timed "arm64 build packages in $ARM64_SYSROOT" arm64_sysroot
    export ZELTRAN_ARM64_SYSROOT=$ARM64_SYSROOT
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$ZELTRAN_ROOT" -B "$ZELTRAN_ROOT/build-arm64" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ZELTRAN_ROOT/scripts/aarch64-toolchain.cmake" \
        -DCMAKE_INSTALL_PREFIX=/usr -DZELTRAN_WINDOW_TESTS=OFF \
        -DCPACK_DEBIAN_PACKAGE_ARCHITECTURE=arm64 "${launcher[@]}" >/dev/null
    arm64_timed "cross-compiling $*" \
        cmake --build "$ZELTRAN_ROOT/build-arm64" -j "$(nproc)" --target "$@"
}

# Prints the library Depends of the programs in build-arm64/, computed by dpkg-shlibdeps inside
# the sysroot against its arm64 packages.
arm64_library_depends() {
    local work=/tmp/zeltran-shlibdeps
    rm -rf "$ARM64_SYSROOT$work"
    mkdir -p "$ARM64_SYSROOT$work/debian"
    : >"$ARM64_SYSROOT$work/debian/control"
    local program
    for program in zeltran zeltran-setup zeltran_pictures; do
        cp "$ZELTRAN_ROOT/build-arm64/$program" "$ARM64_SYSROOT$work/"
    done
    local line
    line=$(chroot "$ARM64_SYSROOT" /bin/sh -c \
        "cd $work && dpkg-shlibdeps -O zeltran zeltran-setup zeltran_pictures" 2>/dev/null)
    rm -rf "${ARM64_SYSROOT:?}$work"
    [[ $line == shlibs:Depends=* ]] || return 1
    echo "${line#shlibs:Depends=}"
}

# scripts/package arm64: zeltran_<version>_arm64.deb in the repository's root folder.
arm64_package() {
    echo "Building the arm64 package (cross compiler; Debian 12 arm64 root under $ZELTRAN_ARM64_CACHE)"
    arm64_build zeltran zeltran-setup zeltran_pictures
    local depends
    depends=$(arm64_library_depends) || {
        echo "dpkg-shlibdeps found no Depends for the arm64 programs" >&2
        return 1
    }
    cmake -DZELTRAN_DEB_LIBRARY_DEPENDS="$depends" "$ZELTRAN_ROOT/build-arm64" >/dev/null
    rm -rf "$ZELTRAN_ROOT/build-arm64/deb"
    (cd "$ZELTRAN_ROOT/build-arm64" && cpack -B "$ZELTRAN_ROOT/build-arm64/deb" >/dev/null)
    rm -f "$ZELTRAN_ROOT"/zeltran_*_arm64.deb
    mv "$ZELTRAN_ROOT"/build-arm64/deb/zeltran_*_arm64.deb "$ZELTRAN_ROOT/"
    local deb
    deb=$(ls "$ZELTRAN_ROOT"/zeltran_*_arm64.deb)
    echo "Built $deb"
    echo "Depends: $(dpkg-deb -f "$deb" Depends)"
    echo "Install it on a Raspberry Pi with: sudo apt-get install ./$(basename "$deb")"
}
