#!/bin/sh
# Starts an installed Orvane from the user's own program folder.
#
# The package keeps the program read-only: the executable in <prefix>/lib/orvane and its data
# folders in <prefix>/share/orvane. The program writes beside itself (orvane.ini, the chime
# library in Chime/ and Custom/, the installer it runs at start), so each user gets a program
# folder of their own, $XDG_DATA_HOME/Orvane (usually ~/.local/share/Orvane), in which the
# read-only folders are symbolic links into the package. The program is told that folder through
# ORVANE_PROGRAM_FOLDER and replaces this shell (exec), so signals reach it directly.
#
# The prefix is found from where this script lies, so an unpacked package runs from any root.
set -eu

# Only shell built-ins on the usual path: every process a start spawns costs time.
case $0 in
    /*) self=$0 ;;
    *) self=$PWD/$0 ;;
esac
prefix=${self%/bin/*}
if [ -L "$self" ] || [ ! -x "$prefix/lib/orvane/orvane" ] || [ ! -d "$prefix/share/orvane" ]; then
    self=$(readlink -f -- "$self")
    prefix=${self%/bin/*}
fi
libdir=$prefix/lib/orvane
sharedir=$prefix/share/orvane
program=$libdir/orvane
parts="Data Images Sound Animate Help Voice"

# The information options need no folder.
case "${1-}" in
    --help | --version) exec "$program" "$1" ;;
esac

say() {
    printf 'orvane: %s\n' "$*" >&2
}

if [ -z "${HOME-}" ]; then
    say "HOME is not set; cannot find your Orvane folder"
    exit 1
fi
# Relative values of the XDG variables are invalid and ignored.
case "${XDG_DATA_HOME-}" in
    /*) data_home=$XDG_DATA_HOME ;;
    *) data_home=$HOME/.local/share ;;
esac
case "${XDG_CACHE_HOME-}" in
    /*) cache_home=$XDG_CACHE_HOME ;;
    *) cache_home=$HOME/.cache ;;
esac
folder=$data_home/Orvane

if [ ! -d "$folder" ] && ! mkdir -p -- "$folder"; then
    say "cannot create $folder"
    exit 1
fi

# Links to the read-only folders, refreshed when the package moved them. A real folder of the
# same name that the user put there is left alone; dangling links into an older package layout
# go away.
for part in $parts; do
    target=$sharedir/$part
    link=$folder/$part
    if [ -L "$link" ]; then
        # test -ef and -nt are in POSIX.1-2024; dash, bash and busybox sh have long had them.
        # shellcheck disable=SC3013
        [ "$link" -ef "$target" ] && continue
        rm -f -- "$link"
    elif [ -e "$link" ]; then
        continue
    fi
    [ -e "$target" ] || continue
    ln -sfn -- "$target" "$link" || say "cannot link $link"
done
for link in "$folder"/*; do
    if [ -L "$link" ] && [ ! -e "$link" ]; then
        case "$(readlink -- "$link")" in
            */orvane/*) rm -f -- "$link" ;;
        esac
    fi
done

# The program plays copies of the wave files kept in its cache folder, and copies only what is
# missing there. When the package's sounds changed (an update), bring the copies that differ up
# to date, each replaced whole, so a running copy of the program never sees half a file.
# An update replaces files by renaming new ones into place, which makes their folder newer than
# the stamp written after the last comparison.
refresh_sound_copies() {
    cache=$cache_home/Orvane
    stamp_file=$cache/package-sounds.stamp
    # shellcheck disable=SC3013
    if [ -f "$stamp_file" ] && ! [ "$sharedir/Sound/Mono" -nt "$stamp_file" ] &&
        ! [ "$sharedir/Sound/Stereo" -nt "$stamp_file" ]; then
        return 0
    fi
    for kind in Mono Stereo; do
        copies=$cache/TempOrvane$kind
        [ -d "$copies" ] || continue
        for copy in "$copies"/*; do
            [ -f "$copy" ] || continue
            source=$sharedir/Sound/$kind/${copy##*/}
            [ -f "$source" ] || continue
            cmp -s -- "$source" "$copy" && continue
            if ! { cp -- "$source" "$copy.new" && mv -f -- "$copy.new" "$copy"; }; then
                say "cannot refresh $copy"
            fi
        done
    done
    if ! { mkdir -p -- "$cache" && : >"$stamp_file"; }; then
        say "cannot write $stamp_file"
    fi
}
refresh_sound_copies

ORVANE_PROGRAM_FOLDER=$folder
export ORVANE_PROGRAM_FOLDER
cd -- "$folder"
exec "$program" "$@"
