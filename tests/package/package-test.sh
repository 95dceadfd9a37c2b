#!/bin/bash
# The Debian package as an administrator gets it: lintian passes it; it holds every file
# the program opens, where the program opens it; "apt-get install" of it (into private
# overlays of /usr, /etc and /var, which vanish with the test) gives a working notifier;
# a purge leaves nothing behind but the system's repository lists.
source "$(dirname "$0")/../desktop/lib.sh"
require_root
command -v dpkg-buildpackage >/dev/null && command -v lintian >/dev/null || exit 77
SOURCE=${TARN_SOURCE_DIR:-$DESKTOP_DIR/../..} PKG=${TARN_BUILD_DIR:-$SOURCE/build}/package
OUT=$(tmpdir)
"$SOURCE/scripts/build-package.sh" "$PKG" >/dev/null || { echo "FAIL the package builds"; exit 1; }
DEB=$(ls "$PKG"/tarn-update-notifier_*_*.deb)

lintian --display-info --fail-on error,warning "$PKG"/*.changes >"$OUT/lintian.txt" 2>&1
check "lintian reports no error and no warning" test $? = 0
sed 's/^/  lintian: /' "$OUT/lintian.txt"

X=$(tmpdir)
dpkg-deb -x "$DEB" "$X" && dpkg-deb -e "$DEB" "$X/DEBIAN"
names() {
    local file=$X/$1 name; shift
    [ -f "$file" ] || { echo "  missing: /${file#$X/}"; return 1; }
    for name in "$@"; do
        local how=-qF; [[ $name == ^* ]] && how=-qxF name=${name:1}
        # Qt keeps a QStringLiteral in UTF-16.
        { strings -a "$file"; strings -a -el "$file"; } | grep $how -- "$name" || { echo "  /${file#$X/} does not name $name"; return 1; }
        [[ $name != /* ]] || [ -e "$X$name" ] || { echo "  missing: $name"; return 1; }
    done
}
while read -r file names; do
    [[ -z $file || $file == \#* ]] && continue
    set -f; set -- $names; set +f
    check "/$file ${names:+names $names}" names "$file" "$@"
done <"$SOURCE/tests/fixtures/package/contents.txt"
for entry in $(find "$X" -name '*.service' -o -name '*.desktop'); do
    program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    [[ $program == /* ]] || program=/usr/bin/$program
    check "${entry#$X} starts $program, which the package holds" test -x "$X$program"
done

# Everything below writes only to overlays in this test's own mount namespace.
for dir in /usr /etc /var; do
    layer=$(tmpdir)
    mkdir "$layer/up" "$layer/work"
    mount -t overlay overlay -o "lowerdir=$dir,upperdir=$layer/up,workdir=$layer/work" "$dir"
    [ "$(findmnt -n -o FSTYPE --target "$dir")" = overlay ] || { echo "FAIL no private $dir"; exit 1; }
done
export DEBIAN_FRONTEND=noninteractive
apt-get install -y --no-install-recommends "$DEB" >"$OUT/install.log" 2>&1
check "apt-get installs the package" test $? = 0
quietly() { "$@" >/dev/null; }
check "the administrators' group exists" quietly getent group kelmora-admin
check "apt_check --help answers" quietly /usr/bin/apt_check --help

# No repositories: whatever this machine's APT holds, the installed checker finds nothing.
rm -rf /etc/apt/sources.list.d/* /var/lib/apt/lists/* /var/cache/apt/*.bin
: >/etc/apt/sources.list
FD=$OUT/fakedesk.jsonl
start_xvfb && start_bus DBUS_SESSION_BUS_ADDRESS && start_bus DBUS_SYSTEM_BUS_ADDRESS && start_fakedesk
NOTIFIER=/usr/bin/tarn-update-notifier SANDBOX_MOUNTS=()
user_settings hideTray=false
start_notifier "$OUT/notifier.log" --silent
SVC=$(fakedesk wait-item)
check "the installed notifier shows its icon" test -n "$SVC"
up_to_date() {
    wait_until 60 tooltip_is "Update Notifier: system is up-to-date" || { echo "  tooltip: $(item_tooltip)"; return 1; }
}
check "its first check reports through the installed checker" up_to_date
stop_notifier
# documented PROGRAM PAGE: every option PROGRAM --help lists is in its manual page.
documented() {
    local page option
    page=$(zcat "/usr/share/man/man1/$2.1.gz" | sed 's/\\-/-/g')
    for option in $("$1" --help | grep -oE '^ +-[a-z-]+(, --[a-z-]+)?' | tr -d ','); do
        grep -qwe "$option" <<<"$page" || { echo "  $2(1) lacks $option"; return 1; }
    done
}
check "tarn-update-notifier(1) has every option of --help" documented /usr/bin/tarn-update-notifier tarn-update-notifier
check "apt_check(1) has every option of --help" documented /usr/bin/apt_check apt_check

helper_files=(/etc/apt/apt.conf.d/99tarn-update-notifier /etc/tarn-update-notifier.conf)
for file in "${helper_files[@]}" /etc/apt/sources.list.d/mine.list; do
    echo "# written by the helper" >"$file"; cp "$file" "$file.save"
done
dpkg-deb -c "$DEB" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' >"$OUT/files"
apt-get purge -y tarn-update-notifier >"$OUT/purge.log" 2>&1
check "apt-get purges the package" test $? = 0
left() { local f; for f in "$@"; do [ ! -e "$f" ] || { echo "  left behind: $f"; return 1; }; done; }
check "the purge leaves none of the package's files" left $(cat "$OUT/files")
check "the purge removes what the helper wrote, with the backups" \
    left "${helper_files[@]}" "${helper_files[@]/%/.save}"
check "the purge keeps the repository lists" test -f /etc/apt/sources.list.d/mine.list
finish
