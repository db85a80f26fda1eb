# Shared by scripts/package windows and scripts/check-windows: the 64-bit Windows build, cross-
# compiled on Debian 12 with Debian's MinGW-w64 compiler. The libraries the programs link are
# cross-built once from Debian's source packages (apt-get source) into a cached prefix; each
# library has a stamp holding its source version and its recipe, so a changed recipe rebuilds that
# library alone. Dependency builds run at low priority, two jobs at a time, each into its own log.
ZELTRAN_WINDOWS_CACHE=${ZELTRAN_WINDOWS_CACHE:-/var/cache/zeltran-windows}
WINDOWS_PREFIX=$ZELTRAN_WINDOWS_CACHE/prefix
WINDOWS_SOURCES=$ZELTRAN_WINDOWS_CACHE/sources
WINDOWS_LOGS=$ZELTRAN_WINDOWS_CACHE/logs
WINDOWS_TIMES=$ZELTRAN_WINDOWS_CACHE/build-times.txt
WINDOWS_HOST=x86_64-w64-mingw32
WINDOWS_MINGW_ROOT=/usr/$WINDOWS_HOST
WINDOWS_JOBS=${WINDOWS_JOBS:-2}
WINDOWS_NICE=(nice -n "${WINDOWS_NICE_LEVEL:-15}")
# The sources entry that apt-get source needs; a file of its own, beside Debian's list.
WINDOWS_DEB_SRC=/etc/apt/sources.list.d/zeltran-deb-src.sources
# Host tools, all Debian 12 packages: the cross compiler and zlib built for it, the assembler of
# libjpeg-turbo's SIMD code, the installer maker, wine, and the source tools; Xvfb, xdotool and
# ImageMagick for scripts/check-windows; googletest's source for the unit tests.
WINDOWS_HOST_PACKAGES=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev
    nasm nsis wine wine64 dpkg-dev cmake ninja-build pkg-config zip unzip xvfb xdotool imagemagick
    googletest gettext)
# The libraries in build order: NAME:SOURCE-PACKAGE (a recipe windows_recipe_NAME each).
WINDOWS_LIBRARIES=(png:libpng1.6 jpeg:libjpeg-turbo freetype:freetype sdl2:libsdl2
    sdl2_ttf:libsdl2-ttf microhttpd:libmicrohttpd opencv:opencv gtest:googletest)

windows_need_root() {
    if [[ $(id -u) -ne 0 ]]; then
        echo "The Windows build installs Debian packages and writes $ZELTRAN_WINDOWS_CACHE: run as root (sudo)." >&2
        exit 1
    fi
}

# Adds the deb-src entry for bookworm when apt has none yet; true when it was added.
windows_source_entry() {
    grep -rqsE '^(Types: *deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/ &&
        return 1
    cat >"$WINDOWS_DEB_SRC" <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
}

# Installs the missing host tools (and the sources entry) with apt-get, one line a step.
windows_host_tools() {
    local missing=() package new_entry=0
    windows_source_entry && new_entry=1
    for package in "${WINDOWS_HOST_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [[ ${#missing[@]} -eq 0 && $new_entry -eq 0 ]] && return 0
    local log="$ZELTRAN_ROOT/build-apt.log"
    echo "Installing ${#missing[@]} Debian packages for Windows: ${missing[*]}"
    apt_step 1 "updating the package lists" "$log" apt-get update || return 1
    [[ ${#missing[@]} -eq 0 ]] && return 0
    apt_step 2 "downloading" "$log" apt-get install -y --no-install-recommends --download-only \
        "${missing[@]}" || return 1
    apt_step 3 "unpacking and setting up" "$log" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends "${missing[@]}" || return 1
}

# Only one Windows build or check at a time: they share the prefix and the wine prefix.
windows_lock() {
    mkdir -p "$ZELTRAN_WINDOWS_CACHE"
    exec {WINDOWS_LOCK_FD}>"$ZELTRAN_WINDOWS_CACHE/lock"
    flock -n "$WINDOWS_LOCK_FD" || {
        echo "Another Windows build or check is running (lock $ZELTRAN_WINDOWS_CACHE/lock); waiting."
        flock "$WINDOWS_LOCK_FD"
    }
}

# windows_source PACKAGE: prints the folder of PACKAGE's unpacked Debian source (Debian's patches
# applied), fetching it the first time.
windows_source() {
    local package=$1 version folder
    version=$(apt-cache showsrc "$package" | awk '/^Version:/ {print $2; exit}')
    [[ -n $version ]] || {
        echo "apt knows no source package $package (is the deb-src entry there?)" >&2
        return 1
    }
    version=${version#*:}
    folder=$WINDOWS_SOURCES/$package-${version%-*}
    folder=${folder%+*}
    if [[ ! -f $folder/.zeltran-unpacked ]]; then
        mkdir -p "$WINDOWS_SOURCES"
        rm -rf "$WINDOWS_SOURCES/fetch-$package"
        mkdir -p "$WINDOWS_SOURCES/fetch-$package"
        (cd "$WINDOWS_SOURCES/fetch-$package" && apt-get source -q "$package") \
            >"$WINDOWS_LOGS/source-$package.log" 2>&1 || {
            echo "apt-get source $package failed; see $WINDOWS_LOGS/source-$package.log" >&2
            return 1
        }
        local unpacked
        unpacked=$(find "$WINDOWS_SOURCES/fetch-$package" -mindepth 1 -maxdepth 1 -type d | head -n 1)
        rm -rf "$folder"
        mv "$unpacked" "$folder"
        rm -rf "$WINDOWS_SOURCES/fetch-$package"
        touch "$folder/.zeltran-unpacked"
    fi
    echo "$folder"
}

# The CMake arguments every library's build shares.
windows_cmake_arguments() {
    printf '%s\n' -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ZELTRAN_ROOT/scripts/mingw64-toolchain.cmake" \
        -DZELTRAN_WINDOWS_PREFIX="$WINDOWS_PREFIX" -DCMAKE_INSTALL_PREFIX="$WINDOWS_PREFIX" \
        -DCMAKE_PREFIX_PATH="$WINDOWS_PREFIX" -DBUILD_SHARED_LIBS=OFF \
        -DZLIB_LIBRARY="$WINDOWS_MINGW_ROOT/lib/libz.a" \
        -DZLIB_INCLUDE_DIR="$WINDOWS_MINGW_ROOT/include"
}

# windows_cmake_library SOURCE [CMAKE ARGUMENTS...]: configures, builds and installs one library
# (sub-folder of SOURCE when CMAKE_SOURCE_SUBDIR is set).
windows_cmake_library() {
    local source=$1 build
    shift
    build=$ZELTRAN_WINDOWS_CACHE/build/$(basename "$source")
    rm -rf "$build"
    local common
    mapfile -t common < <(windows_cmake_arguments)
    "${WINDOWS_NICE[@]}" cmake -S "$source${CMAKE_SOURCE_SUBDIR:+/$CMAKE_SOURCE_SUBDIR}" \
        -B "$build" "${common[@]}" "$@" &&
        "${WINDOWS_NICE[@]}" cmake --build "$build" -j "$WINDOWS_JOBS" &&
        cmake --install "$build" && rm -rf "$build"
}

windows_recipe_png() {
    windows_cmake_library "$1" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
}

windows_recipe_jpeg() {
    windows_cmake_library "$1" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=ON \
        -DWITH_JPEG8=OFF -DCMAKE_ASM_NASM_COMPILER=nasm -DREQUIRE_SIMD=ON
}

windows_recipe_freetype() {
    windows_cmake_library "$1" -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BZIP2=ON \
        -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_PNG=ON -DFT_REQUIRE_ZLIB=ON
}

# The player uses SDL's video, events and timers only.
windows_recipe_sdl2() {
    windows_cmake_library "$1" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_TESTS=OFF \
        -DSDL_AUDIO=OFF -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF \
        -DSDL_POWER=OFF -DSDL_LOCALE=OFF -DSDL_MISC=OFF
}

windows_recipe_sdl2_ttf() {
    windows_cmake_library "$1" -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF -DSDL2TTF_SAMPLES=OFF \
        -DSDL2TTF_INSTALL=ON
}

windows_recipe_microhttpd() {
    local build=$ZELTRAN_WINDOWS_CACHE/build/microhttpd
    rm -rf "$build"
    mkdir -p "$build"
    (cd "$build" && "${WINDOWS_NICE[@]}" "$1/configure" --host="$WINDOWS_HOST" \
        CC="$WINDOWS_HOST-gcc-posix" --prefix="$WINDOWS_PREFIX" --disable-shared --enable-static \
        --disable-https --without-gnutls --disable-doc --disable-examples --disable-curl \
        --disable-nls &&
        "${WINDOWS_NICE[@]}" make -j "$WINDOWS_JOBS" -C src/microhttpd &&
        make -C src/microhttpd install && make -C src/include install && make install-pkgconfigDATA) &&
        rm -rf "$build"
}

# OpenCV with only the parts the player uses. Camera capture through DirectShow: the Media
# Foundation backend does not compile with MinGW. Pictures through the prefix's libjpeg-turbo and
# libpng (OpenCV's own copies would clash with them at the static link).
windows_recipe_opencv() {
    windows_cmake_library "$1" -DBUILD_LIST=core,imgproc,imgcodecs,videoio \
        -DBUILD_TESTS=OFF -DBUILD_PERF_TESTS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_opencv_apps=OFF \
        -DBUILD_DOCS=OFF -DBUILD_JAVA=OFF -DBUILD_opencv_python3=OFF -DBUILD_opencv_python2=OFF \
        -DBUILD_ZLIB=OFF -DBUILD_JPEG=OFF -DBUILD_PNG=OFF -DWITH_JPEG=ON -DWITH_PNG=ON \
        -DJPEG_LIBRARY="$WINDOWS_PREFIX/lib/libjpeg.a" -DJPEG_INCLUDE_DIR="$WINDOWS_PREFIX/include" \
        -DPNG_LIBRARY="$WINDOWS_PREFIX/lib/libpng16.a" -DPNG_PNG_INCLUDE_DIR="$WINDOWS_PREFIX/include" \
        -DWITH_DSHOW=ON -DWITH_MSMF=OFF -DWITH_FFMPEG=OFF -DWITH_GSTREAMER=OFF -DWITH_OBSENSOR=OFF \
        -DWITH_1394=OFF -DWITH_IPP=OFF -DWITH_ITT=OFF -DWITH_OPENCL=OFF -DWITH_LAPACK=OFF \
        -DWITH_EIGEN=OFF -DWITH_PROTOBUF=OFF -DWITH_ADE=OFF -DWITH_QUIRC=OFF -DWITH_TIFF=OFF \
        -DWITH_WEBP=OFF -DWITH_OPENJPEG=OFF -DWITH_JASPER=OFF -DWITH_OPENEXR=OFF -DWITH_DIRECTX=OFF \
        -DWITH_WIN32UI=OFF -DWITH_VTK=OFF -DWITH_QT=OFF -DWITH_GTK=OFF -DWITH_CUDA=OFF \
        -DWITH_OPENMP=OFF -DWITH_TBB=OFF -DWITH_IMGCODEC_HDR=OFF -DWITH_IMGCODEC_SUNRASTER=OFF \
        -DWITH_IMGCODEC_PXM=OFF -DWITH_IMGCODEC_PFM=OFF -DWITH_GDAL=OFF -DWITH_GDCM=OFF \
        -DENABLE_PRECOMPILED_HEADERS=OFF -DCPU_DISPATCH=AVX2 \
        -DOPENCV_GENERATE_PKGCONFIG=ON -DINSTALL_CREATE_DISTRIB=OFF -DOPENCV_BIN_INSTALL_PATH=bin \
        -DOPENCV_LIB_INSTALL_PATH=lib -DOPENCV_3P_LIB_INSTALL_PATH=lib \
        -DOPENCV_INCLUDE_INSTALL_PATH=include/opencv4 -DOPENCV_CONFIG_INSTALL_PATH=lib/cmake/opencv4
}

# GoogleTest for the unit tests built for Windows, from Debian's googletest source.
windows_recipe_gtest() {
    windows_cmake_library "$1" -Dgtest_disable_pthreads=OFF -DINSTALL_GTEST=ON -DBUILD_GMOCK=ON
}

# windows_library NAME PACKAGE: builds one library unless its stamp says it is there already; the
# time of each build goes to $WINDOWS_TIMES.
windows_library() {
    local name=$1 package=$2 source stamp wanted
    mkdir -p "$WINDOWS_PREFIX/.stamps" "$WINDOWS_LOGS"
    stamp=$WINDOWS_PREFIX/.stamps/$name
    source=$(windows_source "$package") || return 1
    wanted="$(basename "$source") $( (declare -f "windows_recipe_$name" windows_cmake_library
        windows_cmake_arguments
        cat "$ZELTRAN_ROOT/scripts/mingw64-toolchain.cmake") | sha1sum | cut -c1-16)"
    [[ -f $stamp && $(cat "$stamp") == "$wanted" ]] && return 0
    local started=$SECONDS log=$WINDOWS_LOGS/$name.log
    printf '  %-12s %s ... ' "$name" "$(basename "$source")"
    if ! "windows_recipe_$name" "$source" >"$log" 2>&1; then
        echo "FAILED ($((SECONDS - started)) s); the last lines of $log:"
        tail -n 25 "$log"
        return 1
    fi
    echo "$wanted" >"$stamp"
    echo "built ($((SECONDS - started)) s)"
    echo "$(date -u +%FT%TZ) $name $(basename "$source") $((SECONDS - started)) s" >>"$WINDOWS_TIMES"
}

# Makes or completes the prefix: every library whose stamp is missing or out of date.
windows_prefix() {
    local entry started=$SECONDS
    export ZELTRAN_WINDOWS_PREFIX=$WINDOWS_PREFIX
    for entry in "${WINDOWS_LIBRARIES[@]}"; do
        windows_library "${entry%%:*}" "${entry#*:}" || return 1
    done
    echo "Windows libraries in $WINDOWS_PREFIX ready ($((SECONDS - started)) s)"
}

# windows_build TARGET...: the prefix, then the programs cross-compiled into build-windows/.
windows_build() {
    windows_need_root
    windows_host_tools
    windows_prefix || return 1
    local launcher=() started=$SECONDS
    command -v ccache >/dev/null &&
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    cmake -S "$ZELTRAN_ROOT" -B "$ZELTRAN_ROOT/build-windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ZELTRAN_ROOT/scripts/mingw64-toolchain.cmake" \
        -DZELTRAN_WINDOWS_PREFIX="$WINDOWS_PREFIX" -DZELTRAN_WINDOW_TESTS=OFF \
        "${launcher[@]}" >"$WINDOWS_LOGS/configure.log" 2>&1 || {
        echo "Configuring the Windows build failed; the last lines of $WINDOWS_LOGS/configure.log:"
        tail -n 25 "$WINDOWS_LOGS/configure.log"
        return 1
    }
    printf '  cross-compiling %s ... ' "$*"
    if cmake --build "$ZELTRAN_ROOT/build-windows" -j "$WINDOWS_JOBS" --target "$@" \
        >"$WINDOWS_LOGS/build.log" 2>&1; then
        echo "done ($((SECONDS - started)) s)"
    else
        echo "FAILED; the last lines of $WINDOWS_LOGS/build.log:"
        grep -m 20 -E 'error|Error' "$WINDOWS_LOGS/build.log" || tail -n 25 "$WINDOWS_LOGS/build.log"
        return 1
    fi
}

# windows_wine_prefix DIR: a fresh wine prefix at DIR with a persistent wine server, so that each
# later start takes a fraction of a second. Sets WINEPREFIX; windows_wine_stop ends the server.
windows_wine_prefix() {
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    # The server first: asked to stay once it runs already, it answers with an error.
    wineserver -p || return 1
    wineboot -i >/dev/null 2>&1
}

windows_wine_stop() {
    [[ -n ${WINEPREFIX:-} && -d ${WINEPREFIX:-} ]] && wineserver -k 2>/dev/null
    return 0
}

windows_version() {
    sed -n 's/^project(zeltran VERSION \([0-9.]*\).*/\1/p' "$ZELTRAN_ROOT/CMakeLists.txt"
}

# scripts/package windows: zeltran-<version>-windows-x64.zip in the repository's root folder. It
# unpacks into a folder holding an installation: work\ (zeltran.exe, its own pictures, the panels'
# font, the English catalog) and an empty S001\ for the frames.
windows_package() {
    echo "Building the Windows package (MinGW-w64; libraries under $WINDOWS_PREFIX)"
    windows_build zeltran zeltran_pictures zeltran_catalogs || return 1
    local version name stage build=$ZELTRAN_ROOT/build-windows
    version=$(windows_version)
    name=zeltran-$version-windows-x64
    stage=$build/zip/$name
    rm -rf "$build/zip"
    mkdir -p "$stage/work/locale/en/LC_MESSAGES" "$stage/S001"
    "$WINDOWS_HOST-strip" -o "$stage/work/zeltran.exe" "$build/zeltran.exe"
    cp "$build/locale/en/LC_MESSAGES/zeltran.mo" "$stage/work/locale/en/LC_MESSAGES/"
    cp /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf "$stage/work/"
    cp /usr/share/doc/fonts-dejavu-core/copyright "$stage/work/DejaVuSans-license.txt"
    # The pictures are drawn by the picture tool built for Windows, in a wine prefix of its own.
    local wine_dir=$ZELTRAN_WINDOWS_CACHE/wine-package
    windows_wine_prefix "$wine_dir" || return 1
    (cd "$stage/work" && wine "$build/zeltran_pictures.exe") >"$WINDOWS_LOGS/pictures.log" 2>&1
    local status=$?
    windows_wine_stop
    [[ $status -eq 0 ]] || {
        echo "Drawing the player's own pictures failed; see $WINDOWS_LOGS/pictures.log"
        return 1
    }
    # Windows' editors want CRLF line ends.
    sed 's/$/\r/' "$ZELTRAN_ROOT/dist/windows/README-windows.txt" >"$stage/README-windows.txt"
    rm -f "$ZELTRAN_ROOT"/zeltran-*-windows-x64.zip
    (cd "$build/zip" && zip -q -r -X "$ZELTRAN_ROOT/$name.zip" "$name")
    echo "Built $ZELTRAN_ROOT/$name.zip ($(du -h "$ZELTRAN_ROOT/$name.zip" | cut -f1))"
    unzip -l "$ZELTRAN_ROOT/$name.zip" | sed -n '4,$p' | sed 's/^/  /'
}
