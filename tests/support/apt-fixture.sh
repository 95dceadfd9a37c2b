#!/bin/bash
# apt-fixture.sh OUTDIR - builds an offline APT sandbox with real local repositories, for
# tests of apt_check, the notifier and the upgrade helper.
#
# Nothing outside OUTDIR is read or written (no network, not the host's /etc/apt, not the
# host's dpkg database). Prints nothing unless it fails (then exit 1). OUTDIR must not exist
# or be empty; it is made readable for everybody, so programs may also run against it as an
# unprivileged user.
#
# Produced:
#   OUTDIR/apt.conf      APT_CONFIG for apt-get, apt-cache and apt_check. It moves Dir to the
#                        sandbox, so the host's apt.conf.d is not read at all; snippets for the
#                        sandbox go to OUTDIR/root/etc/apt/apt.conf.d/.
#   OUTDIR/fixture.env   for ". OUTDIR/fixture.env": APT_CONFIG (exported), FIXTURE_ROOT
#                        (OUTDIR/root), FIXTURE_COUNTS (apt_check's answer before any upgrade),
#                        FIXTURE_ARCH (dpkg's native architecture)
#   OUTDIR/root/         the sandbox: etc/apt/sources.list, var/lib/dpkg/status (+ info/),
#                        var/lib/apt/lists/ (already updated), var/cache/apt/, var/log/
#   OUTDIR/repo/main/    flat repository, Origin/Label "Fixture", Suite "bookworm", read through
#                        a copy: URI so its archives count as "to download"
#   OUTDIR/repo/security/  dists/ layout, Label "Fixture-Security", Suite/Codename
#                        "bookworm-security", component main, read through a file: URI
#
# Upgrading the sandbox for real (as root) installs into OUTDIR/root only, as apt.conf points
# dpkg there (--root, --admindir, --log):  APT_CONFIG=OUTDIR/apt.conf apt-get -y dist-upgrade
#
# Installed: foo 1.0, libfoo 1.0, epo 2.0, common 1.0, baz 1.0, oldtool 1.0, held 1.0 (on
# hold: its selection in dpkg's status is "hold", which is what "apt-mark hold" writes),
# phased 1.0, stable 1.0, needy 1.0, clash 1.0, keeper 1.0 (essential). A full upgrade does:
#   u foo 1.0 -> 1.1        (1.1 depends on libfoo >= 1.1, bar, newlib; conflicts with baz, oldtool)
#   u libfoo 1.0 -> 1.1     security (only in the security repository)
#   u common 1.0 -> 1.1     security (in both repositories)
#   u epo 2.0 -> 1:1.0      (the epoch makes 1:1.0 newer)
#   i bar 2.0, i newlib 1.0 (new dependencies of foo)
#   d baz 1.0, d oldtool 1.0 (conflicts of foo 1.1)
#   kept: held 1.1 (hold), phased 1.1 (Phased-Update-Percentage 0: the machine id below
#         draws above it), needy 1.1 (depends on absent, which no repository has),
#         clash 1.1 (breaks keeper, which is essential: the resolver keeps clash back rather
#         than remove keeper; were keeper not essential, it would be removed)
# apt_check: "4;2;2"; apt-get: "4 upgraded, 2 newly installed, 2 to remove and 4 not upgraded"
#
# With FIXTURE_WAITING_POSTINST=1 in the environment, also installed: waiter 1.0, whose 1.1
# (a fifth upgrade, "5;2;2") has a postinst that creates root/postinst-started and then waits
# until root/postinst-release exists. Maintainer scripts run chrooted into root/, so it gets a
# static busybox as /bin/sh.
set -euo pipefail
unset APT_CONFIG # apt-ftparchive must not read a half-built sandbox
fail() {
    echo "apt-fixture.sh: $*" >&2
    exit 1
}

[ $# = 1 ] || fail "usage: apt-fixture.sh OUTDIR"
D=$(realpath -m "$1")
# The path ends up in apt.conf and in sources.list URIs, which have no quoting.
[[ $D =~ ^[A-Za-z0-9_./+-]+$ ]] || fail "OUTDIR '$D' must consist of letters, digits and _ . / + -"
[ ! -e "$D" ] || [ -z "$(ls -A "$D")" ] || fail "OUTDIR '$D' exists and is not empty"
for tool in dpkg-deb apt-ftparchive apt-get gzip; do
    command -v "$tool" >/dev/null || fail "$tool is missing"
done

ARCH=$(dpkg --print-architecture)
R=$D/root
BUILD=$D/build
MAIN=$D/repo/main
SECURITY=$D/repo/security
SECURITY_DIST=$SECURITY/dists/bookworm-security
mkdir -p "$BUILD" "$MAIN" "$SECURITY/pool" "$SECURITY_DIST/main/binary-$ARCH" \
    "$R"/etc/apt/{apt.conf.d,preferences.d,sources.list.d,trusted.gpg.d} \
    "$R"/var/lib/apt/lists/partial "$R"/var/cache/apt/archives/partial \
    "$R"/var/lib/dpkg/{info,updates,triggers} "$R"/var/log/apt

# control NAME VERSION INSTALLED_SIZE_KIB [lines...]: a package's control fields
control() {
    printf 'Package: %s\nVersion: %s\nArchitecture: %s\n' "$1" "$2" "$ARCH"
    printf 'Maintainer: Fixture <fixture@example.invalid>\nInstalled-Size: %s\n' "$3"
    printf 'Section: misc\nPriority: optional\n'
    if [ $# -gt 3 ]; then printf '%s\n' "${@:4}"; fi
    printf 'Description: fixture package %s\n' "$1"
}
# mkdeb REPO NAME VERSION INSTALLED_SIZE_KIB [control lines...]: a tiny package with one file,
# built once: a package in both repositories is the same file in both.
mkdeb() {
    local tree=$BUILD/${2}_${3/:/%3a}_$ARCH
    if [ ! -e "$tree.deb" ]; then
        mkdir -p "$tree/DEBIAN" "$tree/usr/share/doc/$2"
        echo "$2 $3" >"$tree/usr/share/doc/$2/README"
        control "${@:2}" >"$tree/DEBIAN/control"
        dpkg-deb --root-owner-group -Zgzip --build "$tree" "$tree.deb" >/dev/null
    fi
    cp "$tree.deb" "$1/"
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
mkdeb "$MAIN" needy 1.1 1 "Depends: absent"
mkdeb "$MAIN" clash 1.1 1 "Breaks: keeper"
mkdeb "$SECURITY/pool" libfoo 1.1 21
COUNTS="4;2;2"
if [ "${FIXTURE_WAITING_POSTINST:-}" = 1 ]; then
    [ -x /bin/busybox ] || fail "/bin/busybox (busybox-static) is missing"
    mkdir -p "$R/bin" "$BUILD/waiter_1.1_$ARCH/DEBIAN"
    cp /bin/busybox "$R/bin/"
    for applet in sh sleep touch; do ln -s busybox "$R/bin/$applet"; done
    printf '#!/bin/sh\ntouch /postinst-started\nwhile [ ! -e /postinst-release ]; do sleep 0.1; done\n' \
        >"$BUILD/waiter_1.1_$ARCH/DEBIAN/postinst"
    chmod 755 "$BUILD/waiter_1.1_$ARCH/DEBIAN/postinst"
    mkdeb "$MAIN" waiter 1.1 1
    COUNTS="5;2;2"
fi
mkdeb "$SECURITY/pool" common 1.1 6

# release DIR LABEL SUITE [options...]: DIR's Release file
release() {
    apt-ftparchive -o APT::FTPArchive::Release::Origin=Fixture -o APT::FTPArchive::Release::Label="$2" \
        -o APT::FTPArchive::Release::Suite="$3" -o APT::FTPArchive::Release::Codename="$3" "${@:4}" \
        release "$1" >"$BUILD/Release" && mv "$BUILD/Release" "$1/Release"
}
(cd "$MAIN" && apt-ftparchive packages . >Packages && gzip -9nk Packages && release . Fixture bookworm) ||
    fail "could not build the main repository"
PACKAGES=$SECURITY_DIST/main/binary-$ARCH/Packages
(cd "$SECURITY" && apt-ftparchive packages pool >"$PACKAGES" && gzip -9nk "$PACKAGES" &&
    release "$SECURITY_DIST" Fixture-Security bookworm-security -o APT::FTPArchive::Release::Architectures="$ARCH" \
        -o APT::FTPArchive::Release::Components=main) || fail "could not build the security repository"

cat >"$R/etc/apt/sources.list" <<EOF
deb [trusted=yes] copy:$MAIN ./
deb [trusted=yes] file:$SECURITY bookworm-security main
EOF

# installed NAME VERSION INSTALLED_SIZE_KIB [SELECTION] [control lines...]
installed() {
    control "$1" "$2" "$3" "Status: ${4:-install} ok installed" "${@:5}"
    echo
    # dpkg warns about packages without a file list
    printf '/.\n/usr\n/usr/share\n/usr/share/doc\n/usr/share/doc/%s\n/usr/share/doc/%s/README\n' \
        "$1" "$1" >"$R/var/lib/dpkg/info/$1.list"
}
{
    installed foo 1.0 10 install "Depends: libfoo (>= 1.0)"
    installed libfoo 1.0 20
    installed common 1.0 6
    installed epo 2.0 3
    installed baz 1.0 15
    installed oldtool 1.0 2
    installed held 1.0 1 hold
    installed phased 1.0 1
    installed stable 1.0 1
    installed needy 1.0 1
    installed clash 1.0 1
    installed keeper 1.0 1 install "Essential: yes"
    [ "${FIXTURE_WAITING_POSTINST:-}" != 1 ] || installed waiter 1.0 1
} >"$R/var/lib/dpkg/status"
: >"$R/var/lib/dpkg/available"

# Read by APT before Dir::Etc::parts; because it moves Dir, the parts directory is the
# sandbox's own. The machine id makes phased updates deterministic.
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
printf 'export APT_CONFIG=%s\nFIXTURE_ROOT=%s\nFIXTURE_COUNTS="%s"\nFIXTURE_ARCH=%s\n' \
    "$D/apt.conf" "$R" "$COUNTS" "$ARCH" >"$D/fixture.env"

APT_CONFIG=$D/apt.conf apt-get -q update >"$BUILD/update.log" 2>&1 ||
    { cat "$BUILD/update.log" >&2; fail "apt-get update failed in the sandbox"; }
rm -rf "$BUILD"
chmod -R a+rX "$D"
