#!/bin/bash
# Builds the libraries of the web build (SDL2 and its satellites, FreeType, libzip,
# zlib, libjpeg-turbo) for WebAssembly from Debian's source packages, with emcmake, and
# installs them into one prefix inside a cache folder outside the checkout. Each library
# is built once per source version: a second run only checks the stamps.
#
# Sources come from the Debian archive that apt already uses: the script writes deb-src
# entries for the system's Debian repositories into a private list and runs
# `apt-get source` on it, so the system's apt configuration is left alone.
#
# Usage: web/build-deps.sh [CACHE [PACKAGE...]]
#   CACHE defaults to $ZELKIN_WEB_CACHE or ~/.cache/zelkin-web; with PACKAGEs, only those
#   are built (each needs the ones before it in the list below).
# Prints the prefix on its last line.
set -euo pipefail

cache=${1:-${ZELKIN_WEB_CACHE:-$HOME/.cache/zelkin-web}}
mkdir -p "$cache"
cache=$(cd "$cache" && pwd)
prefix=$cache/prefix
jobs=${JOBS:-$(nproc)}
log=$cache/logs
mkdir -p "$prefix" "$log" "$cache/src" "$cache/stamps"

# The Debian source packages, in build order; the newest version the archive serves
# is taken, and a stamp per package and version keeps it built.
packages=(zlib libzip libjpeg-turbo libsdl2 freetype harfbuzz libsdl2-ttf libsdl2-mixer libsdl2-image)
if [ $# -gt 1 ]; then packages=("${@:2}"); fi

# One private apt state per Debian repository that the system's own entries name, each
# with a single deb-src line, so that a source is fetched from the repository that
# lists it (a mirror may list a security update whose files it does not serve).
# Emscripten's optimiser needs Debian's node modules (acorn) when it runs at -O2.
export NODE_PATH=${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs

apt_dir=$cache/apt
apt_opts() {
	local repo=$apt_dir/$1
	echo -o "Dir::Etc::SourceList=$repo/sources.list" -o "Dir::Etc::SourceParts=$repo/none" \
		-o "Dir::State::Lists=$repo/lists" -o "Dir::Cache=$repo/cache" -o "Dir::State::status=/var/lib/dpkg/status"
}

refresh_source_lists() {
	rm -rf "$apt_dir" && mkdir -p "$apt_dir"
	local n=0 origin uri release
	while read -r origin uri release; do
		case $origin in Debian*) ;; *) continue ;; esac
		n=$((n + 1))
		local repo=$apt_dir/$n
		mkdir -p "$repo/none" "$repo/lists/partial" "$repo/cache/archives/partial"
		echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri $release main" >"$repo/sources.list"
		# shellcheck disable=SC2046
		apt-get $(apt_opts $n) update -qq >>"$log/apt-update.log" 2>&1 ||
			{ cat "$log/apt-update.log" >&2; exit 1; }
	done < <(apt-get indextargets --format '$(ORIGIN) $(REPO_URI) $(RELEASE)' 2>/dev/null | sort -u)
	if [ "$n" = 0 ]; then
		echo "build-deps: the system's apt configuration names no Debian repository" >&2
		exit 1
	fi
	touch "$apt_dir/updated"
}

# Fetches and unpacks the newest source package of that name that a repository
# serves; prints its folder.
fetch_source() {
	local name=$1 work=$cache/src/.fetch-$1 candidates=() repo version
	for repo in $(ls "$apt_dir" | grep -E '^[0-9]+$'); do
		# shellcheck disable=SC2046
		for version in $(apt-cache $(apt_opts "$repo") showsrc "$name" 2>/dev/null | awk '/^Version:/ { print $2 }'); do
			candidates+=("$version $repo")
		done
	done
	while read -r version repo; do
		[ -n "$version" ] || continue
		local dir=$cache/src/$name-${version#*:}
		if [ -d "$dir" ]; then echo "$dir" && return; fi
		rm -rf "$work" && mkdir -p "$work"
		# shellcheck disable=SC2046
		if (cd "$work" && apt-get $(apt_opts "$repo") source -qq --download-only "$name=$version" >>"$log/$name-fetch.log" 2>&1 &&
			dpkg-source --no-check -x ./*.dsc tree >>"$log/$name-fetch.log" 2>&1); then
			mv "$work/tree" "$dir"
			rm -rf "$work"
			echo "$dir"
			return
		fi
	done < <(printf '%s\n' "${candidates[@]}" | sort -rV)
	rm -rf "$work"
	echo "build-deps: cannot fetch the source of $name (see $log/$name-fetch.log)" >&2
	exit 1
}

cmake_build() {
	local name=$1 src=$2
	shift 2
	local build=$cache/build/$name
	rm -rf "$build"
	# The configure checks that run a test program run it in node; emcmake's default
	# emulator passes node a flag that Node 20 refuses, which fails every such check.
	emcmake cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF \
		-DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node);--no-experimental-fetch" \
		-DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" \
		-DCMAKE_POLICY_DEFAULT_CMP0074=NEW "$@" >"$log/$name-build.log" 2>&1 &&
		cmake --build "$build" -j "$jobs" >>"$log/$name-build.log" 2>&1 &&
		cmake --install "$build" >>"$log/$name-build.log" 2>&1 ||
		{ tail -40 "$log/$name-build.log" >&2; echo "build-deps: $name failed, see $log/$name-build.log" >&2; exit 1; }
	rm -rf "$build"
}

# zlib's CMake build wants files that Debian's source leaves out (the Windows resource
# file); its library is a dozen C files with no configuration, compiled directly.
build_zlib() {
	local src=$1 build=$cache/build/zlib
	rm -rf "$build" && mkdir -p "$build"
	(cd "$build" &&
		for f in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate inftrees trees uncompr zutil; do
			emcc -O2 -DHAVE_UNISTD_H -DHAVE_STDARG_H -c "$src/$f.c" -o "$f.o" || exit 1
		done &&
		emar rcs libz.a ./*.o) >"$log/zlib-build.log" 2>&1 ||
		{ tail -40 "$log/zlib-build.log" >&2; exit 1; }
	mkdir -p "$prefix/lib" "$prefix/include" "$prefix/lib/pkgconfig"
	cp "$build/libz.a" "$prefix/lib/"
	cp "$src/zlib.h" "$src/zconf.h" "$prefix/include/"
	printf 'prefix=%s\nlibdir=${prefix}/lib\nincludedir=${prefix}/include\n\nName: zlib\nDescription: zlib compression library\nVersion: %s\nLibs: -L${libdir} -lz\nCflags: -I${includedir}\n' \
		"$prefix" "$(sed -n 's/^#define ZLIB_VERSION "\(.*\)"/\1/p' "$src/zlib.h")" >"$prefix/lib/pkgconfig/zlib.pc"
	rm -rf "$build"
}

build_libzip() {
	cmake_build libzip "$1" -DENABLE_COMMONCRYPTO=OFF -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF \
		-DENABLE_OPENSSL=OFF -DENABLE_WINDOWS_CRYPTO=OFF -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF \
		-DENABLE_ZSTD=OFF -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF \
		-DSIZEOF_OFF_T=8 -DSIZEOF_SIZE_T=4 -DZLIB_ROOT="$prefix"
}

build_libjpeg-turbo() {
	cmake_build libjpeg-turbo "$1" -DWITH_SIMD=OFF -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
		-DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF -DCMAKE_INSTALL_LIBDIR="$prefix/lib"
}

build_libsdl2() {
	cmake_build libsdl2 "$1" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_THREADS=OFF
}

build_freetype() {
	# With zlib (the one built above): without it FreeType compiles zlib's sources into
	# its gzip module, which then clash with the library at link time.
	cmake_build freetype "$1" -DFT_REQUIRE_ZLIB=ON -DZLIB_ROOT="$prefix" -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
		-DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
}

# Debian's SDL_ttf lays text out with HarfBuzz (kerning included), and so does the
# page's, so that every text has the desktop's pixels.
build_harfbuzz() {
	cmake_build harfbuzz "$1" -DHB_HAVE_FREETYPE=ON -DHB_HAVE_GLIB=OFF -DHB_HAVE_ICU=OFF \
		-DHB_HAVE_GOBJECT=OFF -DHB_HAVE_INTROSPECTION=OFF -DHB_BUILD_UTILS=OFF -DHB_BUILD_SUBSET=OFF \
		-DHB_BUILD_TESTS=OFF
}

build_libsdl2-ttf() {
	cmake_build libsdl2-ttf "$1" -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=ON -DSDL2TTF_SAMPLES=OFF
}

# The decoders SDL_mixer carries in its source (stb_vorbis, dr_mp3, dr_flac); MIDI is
# rendered to OGG when the page is built (web/render-music.sh).
build_libsdl2-mixer() {
	cmake_build libsdl2-mixer "$1" -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_DEPS_SHARED=OFF \
		-DSDL2MIXER_CMD=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_MIDI=OFF \
		-DSDL2MIXER_FLAC=ON -DSDL2MIXER_FLAC_LIBFLAC=OFF -DSDL2MIXER_FLAC_DRFLAC=ON \
		-DSDL2MIXER_MP3=ON -DSDL2MIXER_MP3_MPG123=OFF -DSDL2MIXER_MP3_DRMP3=ON \
		-DSDL2MIXER_VORBIS=STB -DSDL2MIXER_WAVE=ON
}

# PNG through the stb_image and miniz copies in its source: no libpng.
build_libsdl2-image() {
	cmake_build libsdl2-image "$1" -DSDL2IMAGE_VENDORED=OFF -DSDL2IMAGE_SAMPLES=OFF -DSDL2IMAGE_DEPS_SHARED=OFF \
		-DSDL2IMAGE_BACKEND_STB=ON -DSDL2IMAGE_AVIF=OFF -DSDL2IMAGE_BMP=OFF -DSDL2IMAGE_GIF=OFF -DSDL2IMAGE_JPG=OFF \
		-DSDL2IMAGE_JXL=OFF -DSDL2IMAGE_LBM=OFF -DSDL2IMAGE_PCX=OFF -DSDL2IMAGE_PNG=ON -DSDL2IMAGE_PNM=OFF \
		-DSDL2IMAGE_QOI=OFF -DSDL2IMAGE_SVG=OFF -DSDL2IMAGE_TGA=OFF -DSDL2IMAGE_TIF=OFF -DSDL2IMAGE_WEBP=OFF \
		-DSDL2IMAGE_XCF=OFF -DSDL2IMAGE_XPM=OFF -DSDL2IMAGE_XV=OFF
}

command -v emcmake >/dev/null || { echo "build-deps: emcmake not found (apt-get install emscripten)" >&2; exit 1; }
command -v dpkg-source >/dev/null || { echo "build-deps: dpkg-source not found (apt-get install dpkg-dev)" >&2; exit 1; }

# A stamp per package names the version built; the source lists are refreshed only
# when a package has none yet.
for name in "${packages[@]}"; do
	if ! ls "$cache/stamps/$name"_* >/dev/null 2>&1; then
		[ -f "$apt_dir/updated" ] || refresh_source_lists
		src=$(fetch_source "$name")
		version=${src#"$cache/src/$name-"}  # without the epoch
		echo "build-deps: building $name $version" >&2
		start=$SECONDS
		"build_$name" "$src"
		echo "build-deps: $name took $((SECONDS - start)) s" >&2
		touch "$cache/stamps/${name}_$version"
	fi
done
echo "$prefix"
