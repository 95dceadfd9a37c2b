#!/bin/bash
# apt_check's counts, listing and sizes on real local repositories, compared with
# apt-get on the same sandbox.
source "$(dirname "$0")/lib.sh"

FX=$(fixture base)

# --- the default scenario: exact output --------------------------------------------
expect_eq "counts" "4;2;2" "$(run "$FX")"
# upgrades, then installs, then removals, each by name; epoch kept in the version;
# "security" for a candidate from the security archive, also when main has it too
expect_eq "-p: order, fields and labels" \
    "u;common;1.0;1.1;security
u;epo;2.0;1:1.0;
u;foo;1.0;1.1;
u;libfoo;1.0;1.1;security
i;bar;;2.0;
i;newlib;;1.0;
d;baz;1.0;;
d;oldtool;1.0;;" "$(run "$FX" -p)"
# Installed-Size deltas in KiB: foo +2, libfoo +1, epo +1, bar +5, newlib +3, baz -15, oldtool -2
expect_eq "-s: installed size change in bytes, negative when freed" "-5120" "$(run "$FX" -s | cut -d';' -f2)"
# archives read through copy: are downloaded; libfoo comes from a file: source and is local
main_debs=("$FX"/repo/main/{foo_1.1,common_1.1,epo_1%3a1.0,bar_2.0,newlib_1.0}_*.deb)
download=$(stat -c %s "${main_debs[@]}" | awk '{ sum += $1 } END { print sum }')
expect_eq "-s: download = the archives still to fetch" "$download" "$(run "$FX" -s | cut -d';' -f1)"
expect_eq "complete lists: nothing on standard error" "" "$(run "$FX" 2>&1 >/dev/null)"
same_as_aptget "default" "$FX"

# --- holds ---------------------------------------------------------------------------
V=$(variant "$FX" unhold)
set_status "$V" held "install ok installed"
same_as_aptget "hold released" "$V"
expect_eq "hold released: held is upgraded" "u;held;1.0;1.1;" "$(run "$V" -p | grep ';held;')"
V=$(variant "$FX" holdfoo)
set_status "$V" foo "hold ok installed"
same_as_aptget "foo held" "$V"
expect_eq "foo held: its new dependencies and conflicts go too" "3;0;0" "$(run "$V")"

# --- phased updates follow apt's own rule --------------------------------------------
V=$(variant "$FX" phased)
echo 'APT::Get::Always-Include-Phased-Updates "true";' >>"$V/apt.conf"
same_as_aptget "phased updates included" "$V"
expect_eq "phased updates included: phased is upgraded" "u;phased;1.0;1.1;" "$(run "$V" -p | grep ';phased;')"

# --- a package left half-installed by an interrupted dpkg run -------------------------
# apt-get removes it before anything else (no archive can reinstall it)
V=$(variant "$FX" halfinstalled)
add_installed "$V" halfdone 1.0
set_status "$V" halfdone "install ok half-installed"
same_as_aptget "half-installed package" "$V"
expect_eq "half-installed package: removed" "d;halfdone;1.0;;" "$(run "$V" -p | grep ';halfdone;')"

# packages dpkg left needing a reinstall or their configuration: apt-get fetches the
# first again and only configures the second
V=$(variant "$FX" reinstreq)
set_status "$V" stable "install reinstreq half-installed"
same_as_aptget "package needing a reinstall" "$V"
expect_eq "package needing a reinstall: its archive is fetched" \
    "$((download + $(stat -c %s "$V"/repo/main/stable_1.0_*.deb)))" "$(run "$V" -s | cut -d';' -f1)"
V=$(variant "$FX" unpacked)
set_status "$V" stable "install ok unpacked"
same_as_aptget "package unpacked, not configured" "$V"

# --- new packages that end up unneeded are left out, as apt-get leaves them out -----
# A held package conflicts with foo 1.1, so foo stays; its new dependencies bar and
# newlib, first marked with it, are then needed by nothing.
V=$(variant "$FX" blocked)
add_installed "$V" blocker 1.0 "Conflicts: foo (>= 1.1)"
set_status "$V" blocker "hold ok installed"
same_as_aptget "foo blocked by a held package" "$V"
expect_eq "foo blocked by a held package: no new packages" "3;0;0" "$(run "$V")"

# installed packages nothing needs any more stay: for upgrades apt-get ignores
# APT::Get::AutomaticRemove in the configuration
V=$(variant "$FX" autoremove)
printf 'Package: stable\nArchitecture: %s\nAuto-Installed: 1\n\n' "$(dpkg --print-architecture)" \
    >"$V/root/var/lib/apt/extended_states"
same_as_aptget "unneeded package kept" "$V"
expect_eq "unneeded package kept: not removed" "" "$(run "$V" -p | grep ';stable;')"
echo 'APT::Get::AutomaticRemove "true";' >>"$V/apt.conf"
same_as_aptget "APT::Get::AutomaticRemove configured" "$V"
expect_eq "APT::Get::AutomaticRemove configured: still not removed" "" "$(run "$V" -p | grep ';stable;')"

# --- unmet dependencies: repaired as by the upgrade command (apt-get -f) --------------
V=$(variant "$FX" broken)
add_installed "$V" needsbar 1.0 "Depends: bar"
add_installed "$V" needsnothing 1.0 "Depends: stable (>= 2.0)"
expect_match "unmet dependencies: plain apt-get refuses" "^E: Unmet dependencies" "$(aptget_summary "$V")"
same_as_aptget "unmet dependencies, as apt-get -f" "$V" -f
expect_eq "unmet dependencies: the missing one installed, the hopeless one removed" \
    "i;bar;;2.0;|d;needsnothing;1.0;;" "$(run "$V" -p | grep -E ';(bar|needsnothing);' | paste -sd'|')"

# --- archives already in the cache, whole or partly ----------------------------------
V=$(variant "$FX" cached)
foo_deb=$(echo "$V"/repo/main/foo_1.1_*.deb)
bar_deb=$(echo "$V"/repo/main/bar_2.0_*.deb)
cp "$foo_deb" "$V/root/var/cache/apt/archives/"
head -c 300 "$bar_deb" >"$V/root/var/cache/apt/archives/partial/$(basename "$bar_deb")"
same_as_aptget "cached and partial archives" "$V"
expect_eq "cached archive: not downloaded again" "$((download - $(stat -c %s "$foo_deb")))" \
    "$(run "$V" -s | cut -d';' -f1)"

# --- the security label rule: suite, codename or label -------------------------------
# relabel NAME LABEL SUITE CODENAME: a variant whose security repository announces itself
# differently (its own copy, fetched anew); prints the labels of libfoo and common.
relabel() {
    local v arch
    v=$(variant "$FX" "$1")
    arch=$(dpkg --print-architecture)
    rm -rf "$v/repo/security/dists"
    mkdir -p "$v/repo/security/dists/$3/main/binary-$arch"
    (cd "$v/repo/security" && apt-ftparchive packages pool >"dists/$3/main/binary-$arch/Packages" &&
        apt-ftparchive -o APT::FTPArchive::Release::Origin=Fixture -o APT::FTPArchive::Release::Label="$2" \
            -o APT::FTPArchive::Release::Suite="$3" -o APT::FTPArchive::Release::Codename="$4" \
            -o APT::FTPArchive::Release::Architectures="$arch" -o APT::FTPArchive::Release::Components=main \
            release "dists/$3" >"$v/Release" && mv "$v/Release" "dists/$3/Release")
    sed -i "s#^deb \(.*\) file:.*#deb \1 file:$v/repo/security $3 main#" "$v/root/etc/apt/sources.list"
    rm -rf "$v"/root/var/lib/apt/lists/*_repo_security_*
    APT_CONFIG="$v/apt.conf" apt-get -q update >"$v/update.log" 2>&1 || cat "$v/update.log" >&2
    run "$v" -p | awk -F';' '$2 == "libfoo" || $2 == "common" { print $2 "=" $5 }' | paste -sd' '
}
expect_eq "security: suite ends in -security" "common=security libfoo=security" \
    "$(relabel bysuite Fixture stable-security bookworm)"
expect_eq "security: codename ends in -security" "common=security libfoo=security" \
    "$(relabel bycodename Fixture stable bookworm-security)"
expect_eq "security: label contains security, any case" "common=security libfoo=security" \
    "$(relabel bylabel Debian-SECURITY stable bookworm)"
expect_eq "security: none of these" "common= libfoo=" "$(relabel updates Fixture bookworm-updates bookworm-updates)"

# --- nothing to do -------------------------------------------------------------------
UP=$(fixture uptodate uptodate)
expect_eq "up to date: counts" "0;0;0" "$(run "$UP")"
expect_eq "up to date: empty listing" "" "$(run "$UP" -p)"
expect_eq "up to date: sizes" "0;0" "$(run "$UP" -s)"
same_as_aptget "up to date" "$UP"

# --- the fixture as others use it: a real upgrade of the sandbox ---------------------
if [ "$(id -u)" = 0 ]; then
    V=$(variant "$FX" upgraded)
    APT_CONFIG="$V/apt.conf" apt-get -y dist-upgrade >"$WORK/upgrade.log" 2>&1 ||
        { fail "apt-get dist-upgrade in the sandbox"; cat "$WORK/upgrade.log"; }
    expect_eq "after a real upgrade: nothing left" "0;0;0" "$(run "$V")"
    expect_eq "after a real upgrade: dpkg has the new versions" "bar=2.0 baz= foo=1.1 libfoo=1.1" \
        "$(dpkg-query --admindir="$V/root/var/lib/dpkg" -W -f '${Package}=${Version}\n' bar baz foo libfoo 2>/dev/null |
            sort | paste -sd' ')"
else
    echo "skip: the real upgrade of the sandbox needs root"
fi

finish
