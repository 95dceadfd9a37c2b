#!/bin/bash
# apt-fixture.sh OUTDIR [SCENARIO] - builds an offline APT sandbox with a real local
# repository, for tests of apt_check, the notifier and the upgrade helper.
#
# Nothing outside OUTDIR is read or written (no network, not the host's /etc/apt,
# not the host's dpkg database). Prints nothing unless it fails (then exit 1).
# OUTDIR must not exist or be empty; it is made readable for everybody so that a
# test can also run programs against it as an unprivileged user.
#
# Produced:
#   OUTDIR/apt.conf      APT_CONFIG for apt-get, apt-cache, apt_check and python3-apt. It moves
#                        Dir to the sandbox, so the host's apt.conf.d is not read at all; hook
#                        snippets for the sandbox go to OUTDIR/root/etc/apt/apt.conf.d/.
#   OUTDIR/fixture.env   shell variables, for ". OUTDIR/fixture.env":
#                          APT_CONFIG        OUTDIR/apt.conf (exported)
#                          FIXTURE_ROOT      OUTDIR/root
#                          FIXTURE_SCENARIO  the scenario built
#                          FIXTURE_COUNTS    what apt_check prints before any upgrade
#                          FIXTURE_ARCH      dpkg's native architecture
#   OUTDIR/root/         the sandbox: etc/apt/sources.list, var/lib/dpkg/status (+ info/),
#                        var/lib/apt/lists/, var/cache/apt/ (pkgcache.bin, archives/), var/log/
#   OUTDIR/repo/main/    flat repository, Origin/Label "Fixture", Suite "bookworm", read through
#                        a copy: URI so its archives count as "to download" (a file: URI counts
#                        as local: 0 bytes "Need to get")
#   OUTDIR/repo/security/  dists/ layout, Label "Fixture-Security", Suite/Codename
#                        "bookworm-security", component main, read through a file: URI
#
# Upgrading the sandbox for real (as root): dpkg is pointed into the sandbox by apt.conf
# (DPkg::Options --root, --admindir and --log), so this installs into OUTDIR/root only:
#     APT_CONFIG=OUTDIR/apt.conf apt-get -y dist-upgrade
# Afterwards: dpkg-query --admindir=OUTDIR/root/var/lib/dpkg -W shows the new versions and
# apt_check prints "0;0;0". "apt-get update" works offline too.
#
# Scenarios (SCENARIO defaults to "default"):
#   default   installed: foo 1.0, libfoo 1.0, epo 2.0, common 1.0, baz 1.0, oldtool 1.0,
#             held 1.0 (dpkg hold), phased 1.0, stable 1.0. A full upgrade does:
#               u foo 1.0 -> 1.1        (1.1 depends on libfoo >= 1.1, bar, newlib;
#                                        conflicts with baz and oldtool)
#               u libfoo 1.0 -> 1.1     security (only in the security repository)
#               u common 1.0 -> 1.1     security (in both repositories)
#               u epo 2.0 -> 1:1.0      (the epoch makes 1:1.0 newer)
#               i bar 2.0, i newlib 1.0 (new dependencies of foo)
#               d baz 1.0, d oldtool 1.0 (conflicts of foo 1.1)
#               kept: held 1.1 (hold), phased 1.1 (Phased-Update-Percentage 0)
#             apt_check: "4;2;2"; apt-get: "4 upgraded, 2 newly installed, 2 to remove
#             and 2 not upgraded"
#   uptodate  the same repositories with the newest versions installed: "0;0;0"
#   nolists   like default, but "apt-get update" has not run yet: apt_check warns about
#             the missing lists and prints "0;0;0"; after "apt-get update" it is default
set -euo pipefail
unset APT_CONFIG # apt-ftparchive must not read a half-built sandbox

fail() {
    echo "apt-fixture.sh: $*" >&2
    exit 1
}

[ $# -ge 1 ] && [ $# -le 2 ] || fail "usage: apt-fixture.sh OUTDIR [default|uptodate|nolists]"
SCENARIO=${2:-default}
case $SCENARIO in
default | nolists) COUNTS="4;2;2" ;;
uptodate) COUNTS="0;0;0" ;;
*) fail "unknown scenario '$SCENARIO'" ;;
esac
[ "$SCENARIO" = nolists ] && COUNTS="0;0;0"

D=$(realpath -m "$1")
# The path ends up in apt.conf and in sources.list URIs, which have no quoting.
[[ $D =~ ^[A-Za-z0-9_./+-]+$ ]] || fail "OUTDIR '$D' must consist of letters, digits and _ . / + -"
if [ -e "$D" ] && [ -n "$(ls -A "$D")" ]; then
    fail "OUTDIR '$D' exists and is not empty"
fi
for tool in dpkg-deb apt-ftparchive apt-get gzip; do
    command -v "$tool" >/dev/null || fail "$tool is missing"
done

ARCH=$(dpkg --print-architecture)
R=$D/root
BUILD=$D/build
MAIN=$D/repo/main
SECURITY=$D/repo/security
SECURITY_DIST=$SECURITY/dists/bookworm-security
mkdir -p "$D" "$BUILD" "$MAIN" "$SECURITY/pool" "$SECURITY_DIST/main/binary-$ARCH" \
    "$R"/etc/apt/{apt.conf.d,preferences.d,sources.list.d,trusted.gpg.d} \
    "$R"/var/lib/apt/lists/partial "$R"/var/cache/apt/archives/partial \
    "$R"/var/lib/dpkg/{info,updates,triggers} "$R"/var/log/apt

# mkdeb REPO NAME VERSION INSTALLED_SIZE_KIB [control lines...]: a tiny package with one file.
mkdeb() {
    local repo=$1 name=$2 version=$3 size=$4
    shift 4
    local file=${name}_${version/:/%3a}_${ARCH}.deb
    local tree=$BUILD/${file%.deb}
    if [ ! -e "$BUILD/$file" ]; then
        mkdir -p "$tree/DEBIAN" "$tree/usr/share/doc/$name"
        echo "$name $version" >"$tree/usr/share/doc/$name/README"
        {
            echo "Package: $name"
            echo "Version: $version"
            echo "Architecture: $ARCH"
            echo "Maintainer: Fixture <fixture@example.invalid>"
            echo "Installed-Size: $size"
            echo "Section: misc"
            echo "Priority: optional"
            if [ $# -gt 0 ]; then printf '%s\n' "$@"; fi
            echo "Description: fixture package $name"
        } >"$tree/DEBIAN/control"
        dpkg-deb --root-owner-group -Zgzip --build "$tree" "$BUILD/$file" >/dev/null
    fi
    cp "$BUILD/$file" "$repo/"
}

# The repositories hold the newest versions only, as real ones do.
mkdeb "$MAIN" foo 1.1 12 "Depends: libfoo (>= 1.1), bar (>= 2.0), newlib" "Conflicts: baz, oldtool"
mkdeb "$MAIN" libfoo 1.0 20
mkdeb "$MAIN" common 1.1 6
mkdeb "$MAIN" epo 1:1.0 4
mkdeb "$MAIN" bar 2.0 5
mkdeb "$MAIN" newlib 1.0 3
mkdeb "$MAIN" baz 1.0 15
mkdeb "$MAIN" oldtool 1.0 2
mkdeb "$MAIN" held 1.1 1
mkdeb "$MAIN" phased 1.1 1 "Phased-Update-Percentage: 0"
mkdeb "$MAIN" stable 1.0 1
mkdeb "$SECURITY/pool" libfoo 1.1 21
mkdeb "$SECURITY/pool" common 1.1 6

release_options=(-o APT::FTPArchive::Release::Origin=Fixture)
(
    cd "$MAIN"
    apt-ftparchive packages . >Packages
    gzip -9nk Packages
    apt-ftparchive "${release_options[@]}" -o APT::FTPArchive::Release::Label=Fixture \
        -o APT::FTPArchive::Release::Suite=bookworm -o APT::FTPArchive::Release::Codename=bookworm \
        release . >"$BUILD/Release"
    mv "$BUILD/Release" Release
) || fail "could not build the main repository"
(
    cd "$SECURITY"
    apt-ftparchive packages pool >"$SECURITY_DIST/main/binary-$ARCH/Packages"
    gzip -9nk "$SECURITY_DIST/main/binary-$ARCH/Packages"
    apt-ftparchive "${release_options[@]}" -o APT::FTPArchive::Release::Label=Fixture-Security \
        -o APT::FTPArchive::Release::Suite=bookworm-security \
        -o APT::FTPArchive::Release::Codename=bookworm-security \
        -o APT::FTPArchive::Release::Architectures="$ARCH" -o APT::FTPArchive::Release::Components=main \
        release "$SECURITY_DIST" >"$BUILD/Release"
    mv "$BUILD/Release" "$SECURITY_DIST/Release"
) || fail "could not build the security repository"

cat >"$R/etc/apt/sources.list" <<EOF
deb [trusted=yes] copy:$MAIN ./
deb [trusted=yes] file:$SECURITY bookworm-security main
EOF

# installed NAME VERSION INSTALLED_SIZE_KIB [SELECTION] [control lines...]
installed() {
    local name=$1 version=$2 size=$3 selection=${4:-install}
    shift 3
    [ $# -gt 0 ] && shift
    printf 'Package: %s\nStatus: %s ok installed\nPriority: optional\nSection: misc\n' "$name" "$selection"
    printf 'Installed-Size: %s\nMaintainer: Fixture <fixture@example.invalid>\n' "$size"
    printf 'Architecture: %s\nVersion: %s\n' "$ARCH" "$version"
    if [ $# -gt 0 ]; then printf '%s\n' "$@"; fi
    printf 'Description: fixture package %s\n\n' "$name"
    # dpkg warns about packages without a file list
    printf '/.\n/usr\n/usr/share\n/usr/share/doc\n/usr/share/doc/%s\n/usr/share/doc/%s/README\n' \
        "$name" "$name" >"$R/var/lib/dpkg/info/$name.list"
}
{
    if [ "$SCENARIO" = uptodate ]; then
        installed foo 1.1 12 install "Depends: libfoo (>= 1.1), bar (>= 2.0), newlib" "Conflicts: baz, oldtool"
        installed libfoo 1.1 21
        installed common 1.1 6
        installed epo 1:1.0 4
        installed bar 2.0 5
        installed newlib 1.0 3
    else
        installed foo 1.0 10 install "Depends: libfoo (>= 1.0)"
        installed libfoo 1.0 20
        installed common 1.0 6
        installed epo 2.0 3
        installed baz 1.0 15
        installed oldtool 1.0 2
    fi
    installed held 1.0 1 hold
    installed phased 1.0 1
    installed stable 1.0 1
} >"$R/var/lib/dpkg/status"
: >"$R/var/lib/dpkg/available"

# Read by APT before Dir::Etc::parts; because it moves Dir, the parts directory is
# the sandbox's own. The machine id makes phased updates deterministic.
cat >"$D/apt.conf" <<EOF
Dir "$R/";
Dir::State::status "$R/var/lib/dpkg/status";
APT::Architecture "$ARCH";
APT::Architectures { "$ARCH"; };
APT::Machine-ID "0123456789abcdef0123456789abcdef";
Acquire::Languages "none";
Acquire::IndexTargets::deb::Contents-deb::DefaultEnabled "false";
// The sandbox belongs to its creator: fetch as that user, not as _apt.
APT::Sandbox::User "$(id -un)";
DPkg::Options { "--root=$R"; "--admindir=$R/var/lib/dpkg"; "--log=$R/var/log/dpkg.log"; };
EOF

cat >"$D/fixture.env" <<EOF
export APT_CONFIG=$D/apt.conf
FIXTURE_ROOT=$R
FIXTURE_SCENARIO=$SCENARIO
FIXTURE_COUNTS="$COUNTS"
FIXTURE_ARCH=$ARCH
EOF

if [ "$SCENARIO" != nolists ]; then
    APT_CONFIG=$D/apt.conf apt-get -q update >"$BUILD/update.log" 2>&1 ||
        { cat "$BUILD/update.log" >&2; fail "apt-get update failed in the sandbox"; }
fi
rm -rf "$BUILD"
chmod -R a+rX "$D"
