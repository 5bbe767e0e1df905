#!/usr/bin/env bash
# Installs what building and testing Quillet needs on Debian 12, once.
# Idempotent: every step checks first, so a second run does nothing.
set -euo pipefail

packages=(
  g++-mingw-w64-i686-posix   # the 32-bit Windows cross compiler (posix threads)
  cmake make                 # the build
  g++                        # the build machine's compiler: writes the window template
  python3                    # draws the program's icon and cursor in the build
  googletest                 # sources of the test framework, built with the cross compiler
  wine wine32:i386           # runs the .exe files
  xvfb x11-utils             # a display for window tests; xdpyinfo tells when it is up
  imagemagick                # screenshots of the running program
  locales                    # zh_CN.UTF-8 (code page 936), ja_JP.UTF-8 (932), en_US.UTF-8 (1252)
  fonts-wqy-microhei         # a CJK font, so the Chinese captions render
  fonts-wine                 # Wine's own fonts: the caption buttons are drawn with Marlett (wine-prefix copies it)
  clang libclang-rt-14-dev   # the host build: sanitizers and libFuzzer, i386 runtimes included
  g++-multilib               # 32-bit C and C++ libraries for the host build
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "quillet: missing packages (${missing[*]}); run as root to install them" >&2
    exit 1
  fi
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# zh_CN.UTF-8 gives Wine the ANSI code page 936; the tests also run the program
# under ja_JP.UTF-8 (932) and en_US.UTF-8 (1252), as users elsewhere run it.
# A locale that was not generated falls back to 1252 without a word.
locales=(zh_CN.UTF-8 ja_JP.UTF-8 en_US.UTF-8)
missing_locales=()
for l in "${locales[@]}"; do
  locale -a 2>/dev/null | grep -qix "${l%.UTF-8}.utf8" || missing_locales+=("$l")
done
if [ ${#missing_locales[@]} -gt 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "quillet: locales missing (${missing_locales[*]}); run as root to generate them" >&2
    exit 1
  fi
  for l in "${missing_locales[@]}"; do
    sed -i "s/^# *$l UTF-8/$l UTF-8/" /etc/locale.gen
    grep -q "^$l UTF-8" /etc/locale.gen || echo "$l UTF-8" >> /etc/locale.gen
  done
  locale-gen >/dev/null
fi
