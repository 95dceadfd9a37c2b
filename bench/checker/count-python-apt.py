#!/usr/bin/python3
"""The counts of apt_check (no option), done with python3-apt, for comparison.

Prints "U;N;R" for a full upgrade: upgraded, newly installed, removed. Like apt_check it
leaves out new packages that the upgrade ends up not needing. Run with /usr/bin/python3.
"""
import sys

import apt_pkg


def main():
    apt_pkg.init()  # reads APT_CONFIG like apt_check
    cache = apt_pkg.Cache(None)  # opened without a lock
    depcache = apt_pkg.DepCache(cache)
    depcache.upgrade(True)  # dist-upgrade
    if depcache.broken_count:
        print("E: the upgrade leaves broken packages", file=sys.stderr)
        return 100
    upgrades = installs = removals = 0
    for package in cache.packages:
        if depcache.marked_install(package):
            if not depcache.is_garbage(package):
                installs += 1
        elif depcache.marked_upgrade(package):
            upgrades += 1
        elif depcache.marked_delete(package) and package.current_ver:
            removals += 1
    print(f"{upgrades};{installs};{removals}")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except SystemError as error:  # libapt-pkg's errors
        print(f"E: {error}", file=sys.stderr)
        sys.exit(100)
