#!/usr/bin/env bash
# Builds the Debian package from the build tree, unpacks it into a temporary root and runs the
# unpacked launcher as an unprivileged user with a home of its own: a first start, a chime saved
# in the user's folder, and a second start after the package's files changed. Checks the user's
# folder, the settings, the sound copies, that nothing was written under the unpacked root, and
# runs desktop-file-validate, appstreamcli and lintian.
#
#   PackageInstallTest.sh <build folder>
set -uo pipefail

build=$(readlink -f "${1:?usage: PackageInstallTest.sh <build folder>}")
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
check() {  # check <description> <command...>
    local what=$1
    shift
    "$@" || fail "$what"
}
die() {
    echo "FAIL: $*" >&2
    exit 1
}

for tool in cpack dpkg-deb dpkg desktop-file-validate appstreamcli lintian setpriv; do
    command -v "$tool" >/dev/null || die "$tool is missing"
done

t=$(mktemp -d /tmp/orvane-package-test.XXXXXX) || die "no temporary folder"
program_pid=
cleanup() {
    [ -n "$program_pid" ] && kill -KILL "$program_pid" 2>/dev/null
    rm -rf "$t"
}
trap cleanup EXIT
chmod 755 "$t"

# The unprivileged user: the caller itself, or "nobody" when the caller is root.
if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
    owner=nobody
else
    as_user=()
    owner=$(id -un)
fi

# --- The package ----------------------------------------------------------------------------
cpack --config "$build/CPackConfig.cmake" -B "$t/pkg" >"$t/cpack.log" 2>&1 || {
    cat "$t/cpack.log" >&2
    die "cpack failed"
}
deb=$t/pkg/orvane_$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")_$(dpkg --print-architecture).deb
[ -f "$deb" ] || die "no package named like $deb: $(ls "$t/pkg")"
chmod -R a+rX "$t/pkg"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libsdl2-2.0-0 libsndfile1 libturbojpeg0 libc6; do
    check "the computed dependencies name $library: $depends" grep -q "$library" <<<"$depends"
done

root=$t/root
dpkg-deb -x "$deb" "$root" || die "dpkg-deb -x failed"
for f in usr/bin/orvane usr/lib/orvane/orvane; do
    check "$f is an executable file" test -f "$root/$f" -a -x "$root/$f"
done
for part in Data Images Sound/Mono Sound/Stereo Animate Help Voice; do
    check "share/orvane/$part is a folder" test -d "$root/usr/share/orvane/$part"
done
for f in applications/orvane.desktop metainfo/org.orvane.Orvane.metainfo.xml man/man1/orvane.1.gz \
    doc/orvane/copyright doc/orvane/changelog.gz icons/hicolor/scalable/apps/orvane.svg; do
    check "share/$f is in the package" test -s "$root/usr/share/$f"
done
for size in 16 22 24 32 48 64 128 256; do
    check "the ${size}px icon is in the package" test -s "$root/usr/share/icons/hicolor/${size}x${size}/apps/orvane.png"
done
for f in Chime Custom orvane.ini bells.exe; do
    check "no $f in the package" test ! -e "$root/usr/lib/orvane/$f" -a ! -e "$root/usr/share/orvane/$f"
done

# --- Validators -----------------------------------------------------------------------------
check "desktop-file-validate" desktop-file-validate "$root/usr/share/applications/orvane.desktop"
check "appstreamcli validate" appstreamcli validate --no-net --no-color \
    "$root/usr/share/metainfo/org.orvane.Orvane.metainfo.xml"
mkdir -p "$t/lintian-home" && chown "$owner" "$t/lintian-home"
check "lintian" env -i PATH="$PATH" HOME="$t/lintian-home" "${as_user[@]}" \
    lintian --fail-on error,warning "$deb"

# --- Runs of the unpacked launcher ----------------------------------------------------------
home=$t/home
mkdir -p "$home" "$t/runtime"
chown "$owner" "$home" "$t/runtime"
chmod 700 "$t/runtime"
user_dir=$home/data/Orvane
cache_dir=$home/cache/Orvane
share=$root/usr/share/orvane

run_env=(env -i PATH=/usr/bin:/bin HOME="$home" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache"
    XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$t/runtime" TMPDIR="$home"
    QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy)

snapshot() {
    (cd "$root" && find . -printf '%p %y %s %m %u %T@ %l\n' | LC_ALL=C sort)
}

# Starts the launcher in the background and waits until the program has installed the library
# (the file <wait_for> exists and the installer file is gone); then ends it with SIGTERM, as the
# desktop does at log-out, and expects exit code 0.
start_and_end() {  # start_and_end <file to wait for> <log> [argument...]
    local wait_for=$1 log=$2
    shift 2
    "${as_user[@]}" "${run_env[@]}" "$root/usr/bin/orvane" "$@" >"$log" 2>&1 &
    program_pid=$!
    local waited=0
    until [ -e "$wait_for" ] && [ -e "$user_dir/orvane.ini" ] && [ ! -e "$user_dir/bells.exe" ]; do
        sleep 0.1
        waited=$((waited + 1))
        if [ $waited -ge 300 ] || ! kill -0 "$program_pid" 2>/dev/null; then
            cat "$log" >&2
            fail "the program did not start (waited $((waited / 10)) s)"
            kill -KILL "$program_pid" 2>/dev/null
            program_pid=
            return 1
        fi
    done
    sleep 1.5  # the window shows after the start-up sequence
    kill -TERM "$program_pid"
    local rc=0
    wait "$program_pid" || rc=$?
    program_pid=
    [ $rc -eq 0 ] || {
        cat "$log" >&2
        fail "the program ended with $rc after SIGTERM"
    }
}

# Links of the user's folder point at the package's read-only folders.
check_links() {
    local part
    for part in Data Images Sound Animate Help Voice; do
        check "$part is a link into the package ($1)" test -L "$user_dir/$part"
        check "$part links to $share/$part ($1): $(readlink "$user_dir/$part")" \
            test "$(readlink "$user_dir/$part")" = "$share/$part"
    done
}

before=$(snapshot)

# The information options start nothing: no display, no folder, no guard.
version=$("${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$home" XDG_DATA_HOME="$home/data" \
    "$root/usr/bin/orvane" --version 2>&1)
check "--version ends with 0 and prints the version: $version" grep -q '^orvane [0-9]' <<<"$version"
help=$("${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$home" "$root/usr/bin/orvane" --help 2>&1)
check "--help prints the usage" grep -q '^Usage: orvane \[record\]' <<<"$help"
check "the information options create no folder" test ! -e "$home/data"

# First start.
start_and_end "$user_dir/Chime/common.kli" "$t/first.log"
check_links "first start"
for f in Chime/common.kli Chime/small.kli Custom/list.kli; do
    check "the library file $f was installed" test -f "$user_dir/$f" -a ! -L "$user_dir/$f"
done
check "the settings were written" grep -q '^\[Serial\]' "$user_dir/orvane.ini"
check "the user owns the folder" test "$(stat -c %U "$user_dir/orvane.ini")" = "$owner"
mono_copies=$(find "$cache_dir/TempOrvaneMono" -name '*.wav' 2>/dev/null | wc -l)
check "the mono sounds were copied to the cache ($mono_copies)" \
    test "$mono_copies" -eq "$(find "$share/Sound/Mono" -name '*.wav' | wc -l)" -a "$mono_copies" -gt 0
check "the first start wrote nothing under the unpacked root" test "$(snapshot)" = "$before"

# What the recorder writes: a chime file and its line in the catalogue; and a changed bell set.
saved_chime=$user_dir/Chime/common/my-chime.kol
first_chime=$(find "$user_dir/Chime/common" -name '*.kol' | LC_ALL=C sort | head -n 1)
{ cat "$first_chime"; printf 's1\r\n'; } >"$saved_chime"
saved_bytes=$(md5sum <"$saved_chime")
catalogue=$user_dir/Chime/common.kli
[ -n "$(tail -c 1 "$catalogue")" ] && printf '\r\n' >>"$catalogue"
printf '999;My chime;common\\my-chime.kol\r\n' >>"$catalogue"
saved_catalogue=$(cat "$catalogue")
sed -i 's/^Bells=.*\r$/Bells=111111000000000\r/;s/^Types=.*\r$/Types=sssmmbnnnnnnnnn\r/' "$user_dir/orvane.ini"
chown "$owner" "$saved_chime"
# A library file the user does not have yet (as after an update that adds one) arrives.
missing=$(cd "$user_dir" && find Chime/study -name '*.kol' | LC_ALL=C sort | head -n 1)
rm -f "$user_dir/$missing"
# A recording start reaches the program through the launcher: it copies the missing sound again
# but skips the library installer.
probe=$(find "$cache_dir/TempOrvaneStereo" -name '*.wav' | LC_ALL=C sort | tail -n 1)
rm -f "$probe"
start_and_end "$probe" "$t/record.log" record
check "a recording start does not install the library" test ! -e "$user_dir/$missing"
# An older layout of the package: the link points where the package no longer is.
ln -sfn /nonexistent/orvane/Sound "$user_dir/Sound"

# The package changes: one bell sound gets other contents, put in place as dpkg does it (a new
# file renamed over the old one).
changed=$(find "$share/Sound/Mono" -name '*.wav' -printf '%f\n' | LC_ALL=C sort | head -n 1)
other=$(find "$share/Sound/Mono" -name '*.wav' -printf '%f\n' | LC_ALL=C sort | sed -n 2p)
untouched_copy=$(md5sum <"$cache_dir/TempOrvaneMono/$other")
sleep 1  # a folder time stamp of a later second than the first start's
cp "$share/Sound/Mono/$other" "$share/Sound/Mono/$changed.dpkg-new"
mv "$share/Sound/Mono/$changed.dpkg-new" "$share/Sound/Mono/$changed"
before=$(snapshot)

# Second start.
start_and_end "$user_dir/$missing" "$t/second.log"
check_links "second start"
check "the saved chime survived" test "$(md5sum <"$saved_chime")" = "$saved_bytes"
check "the chime catalogue kept the saved chime's line" test "$(cat "$user_dir/Chime/common.kli")" = "$saved_catalogue"
check "the missing library file arrived: $missing" test -s "$user_dir/$missing"
check "the bell set survived: $(grep -a '^Bells=\|^Types=' "$user_dir/orvane.ini" | tr -d '\r' | tr '\n' ' ')" \
    grep -q $'^Bells=111111000000000\r$' "$user_dir/orvane.ini"
check "the sound copy of the changed bell was refreshed" \
    cmp -s "$share/Sound/Mono/$changed" "$cache_dir/TempOrvaneMono/$changed"
check "the other sound copies are as they were" \
    test "$(md5sum <"$cache_dir/TempOrvaneMono/$other")" = "$untouched_copy"
check "the second start wrote nothing under the unpacked root" test "$(snapshot)" = "$before"
check "nothing in the user's folder belongs to another user" \
    test -z "$(find "$user_dir" "$cache_dir" ! -user "$owner" -print -quit)"

if [ $failures -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "package install test passed"
