#!/usr/bin/env bash
# Shows that the window's own code (app/, the page widgets in pages/, the rules in core/, res/)
# builds for Windows as it builds without the spreadsheet files: each source is compiled, syntax
# only, by the mingw-w64 compiler against the Windows headers and Debian's Qt 6 headers. A POSIX
# call the Windows headers lack (fork, pipe, poll, waitpid, kill, getuid, setrlimit, ...) fails to
# compile; a POSIX header the window includes itself fails the check even where mingw-w64 ships one
# (unistd.h, sys/stat.h, fcntl.h, pthread.h, ...); so does code the compiler would not see because
# it is kept from Windows by a platform test. System calls belong in the platform file pairs of
# link/, cli/ and sim/ (the *Posix.cpp and *Win.cpp files), which are cross-built on their own.
# Usage: scripts/check-window-portable.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

cxx=x86_64-w64-mingw32-g++-posix
qt=/usr/include/x86_64-linux-gnu/qt6
# The project's language level and Qt hygiene (qv_common), with its one Windows define (mingw-w64
# declares localtime_r only when asked). Qt's public headers serve every platform and test for
# Windows themselves (_WIN32, which the compiler sets); only their generated configuration
# (qconfig.h, qtcore-config.h, ...) is Linux's here, and it switches Qt's optional features, not
# the API the window calls. Qt's mkspecs folder is left out: it holds only the Linux
# qplatformdefs.h, which the window must not use. The header-only JSON reader comes from the host
# through a folder of its own (QV_HOST_HEADERS, made below), as in the cross build, never the
# host's whole /usr/include.
flags=(-fsyntax-only -std=c++20 -H
    -DQT_NO_CAST_FROM_ASCII -DQT_NO_CAST_TO_ASCII -DQT_NO_CONTEXTLESS_CONNECT -DQT_NO_KEYWORDS
    -DQT_USE_QSTRINGBUILDER -D_POSIX_THREAD_SAFE_FUNCTIONS
    -I"$root"
    -isystem "$qt" -isystem "$qt/QtCore" -isystem "$qt/QtGui" -isystem "$qt/QtWidgets"
    -isystem "$qt/QtNetwork" -isystem "${QV_HOST_HEADERS:-}")

# One source: compile it, then read the include tree (-H: one dot per level) for POSIX headers
# that a file of the project includes itself.
check_one() {
    local source=$1 log status=0
    log=$(mktemp)
    if ! "$cxx" "${flags[@]}" "$root/$source" 2>"$log"; then
        sed -e '/^Multiple include guards/,$d' -e '/^\.\+ /d' "$log" >&2
        rm -f "$log"
        echo "$source: does not compile for Windows" >&2
        return 1
    fi
    awk -v main="$root/$source" -v root="$root/" '
        /^\.+ / {
            depth = index($0, " ") - 1
            header = substr($0, depth + 2)
            stack[depth] = header
            parent = depth == 1 ? main : stack[depth - 1]
            project = depth == 1 || index(parent, root) == 1
            if (project && header ~ /\/(unistd|poll|signal|fcntl|pthread|dlfcn|dirent|termios|pwd|grp|netdb|spawn|syslog|libgen|strings|sched|semaphore|utime|glob|fnmatch|wordexp|ifaddrs|sys\/[^\/]+|netinet\/[^\/]+|arpa\/[^\/]+|net\/[^\/]+)\.h$/) {
                print parent ": includes the POSIX header " header > "/dev/stderr"
                found = 1
            }
        }
        END { exit found }' "$log" || status=1
    rm -f "$log"
    return $status
}
# One source per run of this script, so the parallel jobs below share the flags above.
if [[ ${1:-} == --source ]]; then
    check_one "$2"
    exit
fi

# What the window builds without the spreadsheet files: everything in its folders except the
# timetable's spreadsheet exchange (ScheduleSheet*), the buttons that use it (CIoschDlgSheet.cpp)
# and its module (SheetExchangeModule.cpp); the spreadsheet backend (sheet/) is a folder of its
# own. The address book's platform pairs (the configuration folder, the keyring: *Posix.cpp and
# KeyringSecret.cpp beside *Win.cpp) are cross-built with qvctl. The fallback fonts' hinting
# goes through fontconfig on Linux (FallbackHintingFontconfig.cpp) on a thread placed through
# Linux's processor affinity (WorkAsideLinux.cpp); their Windows sides are checked.
mapfile -t code < <(find app pages core res \( -name '*.cpp' -o -name '*.h' \) | sort |
    grep -v -e '/ScheduleSheet' -e '/CIoschDlgSheet\.cpp$' -e '/SheetExchangeModule\.cpp$' \
        -e '^core/appliances/.*\(Posix\|Win\|Secret\)\.cpp$' -e '/FallbackHintingFontconfig\.cpp$' \
        -e '/WorkAsideLinux\.cpp$')
mapfile -t sources < <(printf '%s\n' "${code[@]}" | grep '\.cpp$')

if platform=$(grep -nE '_WIN32|_WIN64|Q_OS_[A-Z]|__unix__|__linux__|__APPLE__|_POSIX_' \
    "${code[@]}"); then
    echo "the window's code tests for a platform; that belongs in a platform file pair:" >&2
    echo "$platform" >&2
    exit 1
fi

QV_HOST_HEADERS=$(mktemp -d)
trap 'rm -rf "$QV_HOST_HEADERS"' EXIT
ln -s /usr/include/nlohmann "$QV_HOST_HEADERS/nlohmann"
export QV_HOST_HEADERS

echo "window portability: ${#sources[@]} sources, syntax only, with $cxx"
printf '%s\n' "${sources[@]}" | xargs -P "$(nproc)" -n 1 "$0" --source
