#include "checker/options.h"

namespace AptCheck {

Options parseOptions(int argc, const char* const* argv)
{
    Options options;
    if (argc > 2) {
        options.error = "Too many arguments. Run 'apt_check --help' for usage.";
        return options;
    }
    if (argc < 2)
        return options;

    const std::string argument = argv[1];
    if (argument == "-p")
        options.mode = Mode::Packages;
    else if (argument == "-s")
        options.mode = Mode::Sizes;
    else if (argument == "-k")
        options.mode = Mode::KeptBack;
    else if (argument == "-h" || argument == "--help")
        options.mode = Mode::Help;
    else
        options.error = "Unknown argument '" + argument + "'. Run 'apt_check --help' for usage.";
    return options;
}

std::string usageText()
{
    return "Usage: apt_check [-p | -s | -k | -h]\n"
           "\n"
           "Tells what a full upgrade of this system (apt-get dist-upgrade) would do,\n"
           "without changing anything.\n"
           "\n"
           "  (none)      print one line \"U;N;R\": how many packages would be upgraded,\n"
           "              newly installed and removed\n"
           "  -p          print one line per package, \"kind;name;old version;new version;label\":\n"
           "              kind u (upgrade), i (new install) or d (removal); the old version is\n"
           "              empty for i and the new version empty for d; the label is \"security\"\n"
           "              when the new version comes from a security archive; for d it is\n"
           "              \"essential\" (Essential: yes) or \"required\" (Priority: required)\n"
           "              when the system needs the package; else empty.\n"
           "              Upgrades come first, then installs, then removals, each by name.\n"
           "  -s          print one line \"DOWNLOAD;DELTA\": the bytes still to download\n"
           "              (apt-get's \"Need to get\") and the change of the installed size\n"
           "              in bytes, negative when space is freed\n"
           "  -k          print one line per package that has a newer version the upgrade\n"
           "              leaves out, \"name;installed version;candidate version;reason;detail\",\n"
           "              by name. Reasons: held (apt-mark hold; no detail), phased (a phased\n"
           "              update not yet for this machine; detail: its percentage), kept (kept\n"
           "              back by the resolver; detail \"removes:PKG\" when installing it would\n"
           "              remove the installed package PKG, \"needs:PKG\" when it needs PKG,\n"
           "              which cannot be installed, else empty)\n"
           "  -h, --help  show this help\n"
           "\n"
           "Packages on hold and phased updates that apply later are left out, as apt-get does.\n"
           "\n"
           "apt_check reads APT's configuration like apt-get does, including the file named\n"
           "by APT_CONFIG. It never takes APT's or dpkg's lock, so it answers while another\n"
           "program installs packages, and it needs no root rights: run as an ordinary user\n"
           "it writes nothing.\n"
           "\n"
           "Failures are reported as APT's own \"E: ...\" lines on standard error, with exit\n"
           "status 100 and nothing on standard output. Warnings (\"W: ...\"), for example about\n"
           "package lists that were never downloaded, also go to standard error; the result\n"
           "is still printed and the exit status is 0.\n";
}

} // namespace AptCheck
