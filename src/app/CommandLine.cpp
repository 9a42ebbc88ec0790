#include "app/CommandLine.h"

#include "core/ProgramVersion.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr char kHelp[] = R"(Usage : lexivar [OPTION]

Lexivar, fiches terminologiques anglais-français d'une équipe.
Le programme vit dans la zone de notification ; son menu ouvre la recherche, les fiches,
les domaines, les usagers et la configuration.

  -h, --help     affiche cette aide et quitte
  -v, --version  affiche la version et quitte

Le fichier de configuration Lexivar.ini est lu à côté du programme s'il s'y trouve,
sinon dans $XDG_CONFIG_HOME/Lexivar/ (par défaut ~/.config/Lexivar/).
Les options de Qt (par exemple -platform xcb) sont acceptées.
)";

bool is(const char* argument, const char* shortName, const char* longName) {
    return std::strcmp(argument, shortName) == 0 || std::strcmp(argument, longName) == 0;
}

} // namespace

namespace CommandLine {

std::optional<int> answer(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (is(argv[i], "-v", "--version")) {
            std::printf("Lexivar %s\n", kProgramVersion);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (is(argv[i], "-h", "--help")) {
            std::fputs(kHelp, stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
    }
    return std::nullopt;
}

} // namespace CommandLine
