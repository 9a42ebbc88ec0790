#include "tools/admin/AdminTool.h"

#include "core/AppError.h"
#include "core/ProgramVersion.h"
#include "core/db/Connection.h"
#include "core/db/Recordset.h"
#include "core/db/Schema.h"
#include "core/db/Transaction.h"
#include "core/files/DatabaseAddress.h"
#include "core/files/PasswordFile.h"
#include "core/interchange/JetFileReader.h"
#include "core/interchange/LegacyImport.h"
#include "core/interchange/TermExport.h"
#include "core/interchange/TermImport.h"
#include "core/text/Cp1252.h"
#include "tools/admin/BaseCopy.h"
#include "tools/admin/DemoData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QTextStream>
#include <functional>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

const QString kHelp = uR"(Usage :
  lexivar-admin create CHEMIN.mdb --name NOM --login USAGER --password MOT_DE_PASSE
                [--db-password MOT_DE_PASSE_BD]
  lexivar-admin demo CHEMIN.mdb
  lexivar-admin import ANCIENNE.mdb NOUVELLE.mdb [--db-password MOT_DE_PASSE_BD]
  lexivar-admin export BASE.mdb FICHIER [--format tbx|tbx2|csv]
  lexivar-admin import-terms BASE.mdb FICHIER [--user NOM]
  lexivar-admin create postgresql://SERVEUR/BASE --name NOM --login USAGER
                --password MOT_DE_PASSE
  lexivar-admin copy DE VERS [--db-password MOT_DE_PASSE_BD]
  lexivar-admin --help | --version

create  Crée une base de données Lexivar vide (tables Files, Domains et Passwords) et
        son premier compte, de niveau Administrateur :
          --name         nom de la personne (25 caractères au plus)
          --login        nom d'usager pour l'ouverture de session (4 à 15 caractères)
          --password     mot de passe de l'usager (4 à 15 caractères)
          --db-password  mot de passe de la base de données (facultatif ; sans lui, la
                         base n'est pas chiffrée)
        Le fichier de mot de passe (.pws) est écrit à côté de la base.

demo    Crée une base de démonstration : quelques domaines, des fiches bilingues et trois
        comptes. Administrateur : usager « admin », mot de passe « admin ». Mot de passe
        de la base : « lexivar-demo ».

import  Crée une nouvelle base Lexivar à partir d'une base de l'ancienne version (fichier
        Jet), qui n'est jamais modifiée : domaines, fiches et comptes avec leurs numéros.
        La nouvelle base prend le mot de passe du fichier .pws de l'ancienne, sauf si
        --db-password en donne un autre. Les lignes qui ne peuvent pas être importées sont
        énumérées avec leur raison.

export  Écrit toutes les fiches de la base dans un fichier d'échange pour les outils de
        traduction : TBX v3 (TBX-Basic, par défaut), TBX v2 (« martif ») ou CSV (UTF-8),
        d'après --format ou, à défaut, l'extension du fichier (.csv). Un fichier existant
        est remplacé d'un coup, une fois le nouveau entièrement écrit.

import-terms
        Ajoute à la base les entrées d'un fichier TBX (v2 ou v3) ou CSV (colonnes nommées
        en français ou en anglais), en une seule transaction. Les domaines manquants sont
        créés ; les doublons (mêmes termes anglais et français dans le même domaine) sont
        écartés. L'auteur des entrées qui n'en ont pas est --user (par défaut, l'usager du
        système). Un rapport énumère ce qui a été ajouté, écarté ou refusé.

copy    Copie toute une base, numéros compris, d'un fichier vers un serveur, d'un serveur
        vers un fichier ou d'un fichier vers un autre : c'est ainsi qu'une équipe passe
        au serveur. La base de destination est neuve (fichier absent ou base vide sur le
        serveur). Un fichier créé prend le mot de passe de la source, sauf si
        --db-password en donne un autre.

Une base peut être sur un serveur PostgreSQL (adresse postgresql://…) : « create » y crée
les tables dans une base vide. Le mot de passe du rôle PostgreSQL est lu dans le fichier
Lexivar.pws, à côté du fichier de configuration Lexivar.ini, jamais sur la ligne de commande.

Le mot de passe de la base est lu dans son fichier .pws. Hormis l'exportation, aucun fichier
existant n'est jamais remplacé.
)"_s;

struct createRequest {
    QString path;
    QString name;
    QString login;
    QString password;
    QString databasePassword;
    bool demo = false;
    // What goes into the new base instead of the administrator or the demonstration.
    std::function<void(Connection&)> fill;
};

class Refusal {
public:
    explicit Refusal(QString text) : message(std::move(text)) {}
    QString message;
};

QString option(const QStringList& args, const QString& name, bool& missingValue) {
    const qsizetype i = args.indexOf(name);
    if (i < 0) {
        return {};
    }
    if (i + 1 >= args.size()) {
        missingValue = true;
        return {};
    }
    return args.at(i + 1);
}

void checkLength(const QString& label, const QString& value, qsizetype min, qsizetype max) {
    if (value.size() < min || value.size() > max) {
        throw Refusal(label + u" doit compter de "_s + QString::number(min) + u" à "_s +
                      QString::number(max) + u" caractères."_s);
    }
}

void checkTarget(const QString& path) {
    if (!path.endsWith(u".mdb"_s, Qt::CaseInsensitive)) {
        throw Refusal(u"Le nom de la base de données doit se terminer par « .mdb »."_s);
    }
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink()) {
        throw Refusal(u"Le fichier « "_s + path + u" » existe déjà ; rien n'a été modifié."_s);
    }
    const QString pws = passwordFileOf(path);
    if (QFileInfo::exists(pws)) {
        throw Refusal(u"Le fichier de mot de passe « "_s + pws +
                      u" » existe déjà ; rien n'a été modifié."_s);
    }
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir()) {
        throw Refusal(u"Le dossier « "_s + info.absolutePath() + u" » n'existe pas."_s);
    }
    if (!folder.isWritable()) {
        throw Refusal(u"Impossible d'écrire dans le dossier « "_s + info.absolutePath() + u" »."_s);
    }
}

void addAdministrator(Connection& c, const createRequest& r) {
    Recordset rs;
    rs.open(u"SELECT * FROM Passwords WHERE ID = 0"_s, c, Recordset::Dynamic,
            Recordset::OptimisticLock);
    rs.addNew();
    rs.setValue(u"Name"_s, r.name);
    rs.setValue(u"Login"_s, r.login);
    rs.setValue(u"Pass"_s, r.password);
    rs.setValue(u"Type"_s, 0);
    rs.update();
}

void fillNew(Connection& c, const createRequest& r) {
    if (r.fill) {
        r.fill(c);
    } else if (r.demo) {
        DemoData::fill(c);
    } else {
        addAdministrator(c, r);
    }
}

// A server's password is its role's, in the password file: never on the command line.
Refusal noDatabasePasswordOnServer(const QString& address) {
    return Refusal(u"Sur un serveur, le mot de passe est celui du rôle, lu dans « "_s +
                   passwordFileOf(address) + u" » : --db-password ne s'y applique pas."_s);
}

// A base on a server, opened with the role's password from the password file beside the
// settings.
DatabaseLocation serverBase(const QString& address) {
    const QString pws = passwordFileOf(address);
    QString password;
    if (!QFileInfo::exists(pws) || !readPasswordFile(pws, password)) {
        throw Refusal(u"Le mot de passe du serveur est lu dans « "_s + pws +
                      u" », introuvable ou illisible ; rien n'a été modifié."_s);
    }
    return {address, password};
}

// Tables go only into an empty base: nothing of someone else's is ever mixed in.
void requireEmpty(Connection& c, const QString& address) {
    Recordset rs;
    rs.open(u"SELECT count(*) FROM information_schema.tables "
            u"WHERE table_schema = current_schema()"_s,
            c);
    if (rs.value(0).toLongLong() > 0) {
        throw Refusal(u"La base de données « "_s + address +
                      u" » n'est pas vide ; rien n'a été modifié."_s);
    }
}

void createOnServer(const createRequest& r) {
    Connection c;
    c.open(serverBase(r.path), Connection::Mode::ReadWrite);
    requireEmpty(c, r.path);
    Schema::create(c);
    fillNew(c, r);
}

// Builds the database beside its final place, then links it in: the name appears only complete,
// and an existing file is never replaced.
void create(const createRequest& r) {
    const QFileInfo info(r.path);
    QString temp;
    {
        QTemporaryFile reserve(info.absolutePath() + u"/.lexivar-XXXXXX.tmp"_s);
        if (!reserve.open()) {
            throw Refusal(u"Impossible d'écrire dans le dossier « "_s + info.absolutePath() +
                          u" »."_s);
        }
        temp = reserve.fileName();
    } // the reservation is removed so the engine can create the file itself
    const QString pws = passwordFileOf(r.path);
    try {
        Connection c;
        c.createNew(temp, r.databasePassword);
        Schema::create(c);
        fillNew(c, r);
        c.close();
        QFile pwsFile(pws);
        // Owner-only from its first byte, then readable by the database's group: never by others.
        if (!pwsFile.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
            pwsFile.write(packPassword(r.databasePassword)) < 0 || !pwsFile.flush() ||
            !FileIo::applyPermissions(pwsFile.handle(), passwordFilePermissions(temp)) ||
            ::fsync(pwsFile.handle()) != 0) {
            pwsFile.remove();
            throw Refusal(u"Impossible d'écrire le fichier de mot de passe « "_s + pws + u" »."_s);
        }
        pwsFile.close();
        if (::link(QFile::encodeName(temp).constData(), QFile::encodeName(r.path).constData()) !=
            0) {
            QFile::remove(pws);
            throw Refusal(u"Impossible de créer « "_s + r.path + u" »."_s);
        }
        QFile::remove(temp);
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
}

createRequest parseCreate(const QStringList& args) {
    createRequest r;
    r.path = args.value(1);
    bool missing = false;
    r.name = option(args, u"--name"_s, missing).trimmed();
    r.login = option(args, u"--login"_s, missing).trimmed();
    r.password = option(args, u"--password"_s, missing).trimmed();
    r.databasePassword = option(args, u"--db-password"_s, missing);
    if (missing || r.path.isEmpty() || r.path.startsWith(u"--"_s)) {
        throw Refusal(u"Arguments incomplets. Voyez « lexivar-admin --help »."_s);
    }
    if (r.name.isEmpty()) {
        throw Refusal(u"Le nom de la personne (--name) est obligatoire."_s);
    }
    checkLength(u"Le nom de la personne"_s, r.name, 1, 25);
    checkLength(u"Le nom d'usager"_s, r.login, 4, 15);
    checkLength(u"Le mot de passe de l'usager"_s, r.password, 4, 15);
    if (const auto bad = Cp1252::firstUnencodable(r.databasePassword)) {
        throw Refusal(u"Le mot de passe de la base de données contient le caractère « "_s + *bad +
                      u" », qui ne peut pas être enregistré."_s);
    }
    return r;
}

int importOld(const QStringList& args, QTextStream& out, const LegacyReaderFactory& openLegacy) {
    bool missing = false;
    const QString override = option(args, u"--db-password"_s, missing);
    const bool overridden = args.contains(u"--db-password"_s);
    QStringList paths;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args.at(i) == u"--db-password"_s) {
            ++i;
        } else {
            paths << args.at(i);
        }
    }
    if (missing || paths.size() != 2 || paths.at(0).startsWith(u"--"_s) ||
        paths.at(1).startsWith(u"--"_s)) {
        throw Refusal(u"Arguments incomplets. Voyez « lexivar-admin --help »."_s);
    }
    const QString& oldPath = paths.at(0);
    const QString& newPath = paths.at(1);
    if (!QFileInfo::exists(oldPath)) {
        throw Refusal(u"Le fichier « "_s + oldPath + u" » est introuvable."_s);
    }
    if (!JetFileReader::isJetFile(oldPath)) {
        throw Refusal(u"Le fichier « "_s + oldPath +
                      u" » n'est pas une base de l'ancienne version."_s);
    }
    checkTarget(newPath);
    QString password = override;
    if (!overridden) {
        password = legacyDatabasePassword(oldPath).value_or(QString());
    }
    if (const auto bad = Cp1252::firstUnencodable(password)) {
        throw Refusal(u"Le mot de passe de la base de données contient le caractère « "_s + *bad +
                      u" », qui ne peut pas être enregistré."_s);
    }
    std::unique_ptr<LegacyTableReader> reader;
    if (openLegacy) {
        reader = openLegacy(oldPath);
    } else {
        reader = std::make_unique<JetFileReader>(oldPath);
    }
    const LegacyImportSummary summary = importLegacyDatabase(*reader, newPath, password);
    out << summaryText(summary, newPath) << u"\n"_s;
    return kOk;
}

// An existing base, opened with the password of its password file.
DatabaseLocation existingBase(const QString& path) {
    if (!path.endsWith(u".mdb"_s, Qt::CaseInsensitive) || !QFileInfo(path).isFile()) {
        throw Refusal(u"La base de données « "_s + path + u" » est introuvable."_s);
    }
    QString password;
    const QString pws = passwordFileOf(path);
    if (QFileInfo::exists(pws) && !readPasswordFile(pws, password)) {
        throw Refusal(u"Le fichier de mot de passe « "_s + pws + u" » est illisible."_s);
    }
    return {path, password};
}

// The two paths after the command, and the options' values.
QStringList operands(const QStringList& args, const QStringList& options) {
    QStringList paths;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (options.contains(args.at(i))) {
            ++i;
        } else {
            paths << args.at(i);
        }
    }
    if (paths.size() != 2 || paths.at(0).startsWith(u"--"_s) || paths.at(1).startsWith(u"--"_s)) {
        throw Refusal(u"Arguments incomplets. Voyez « lexivar-admin --help »."_s);
    }
    return paths;
}

// The value of one option and the two paths around it; refused when either is missing.
std::pair<QString, QStringList> optionAndTwoPaths(const QStringList& args, const QString& name) {
    bool missing = false;
    const QString value = option(args, name, missing);
    const QStringList paths = operands(args, {name});
    if (missing) {
        throw Refusal(u"Arguments incomplets. Voyez « lexivar-admin --help »."_s);
    }
    return {value, paths};
}

int exportCommand(const QStringList& args, QTextStream& out) {
    const auto [format, paths] = optionAndTwoPaths(args, u"--format"_s);
    TermFormat chosen = formatForPath(paths.at(1));
    if (format == u"tbx"_s) {
        chosen = TermFormat::Tbx3;
    } else if (format == u"tbx2"_s) {
        chosen = TermFormat::Tbx2;
    } else if (format == u"csv"_s) {
        chosen = TermFormat::Csv;
    } else if (!format.isEmpty()) {
        throw Refusal(u"Format inconnu : « "_s + format + u" » (tbx, tbx2 ou csv)."_s);
    }
    const qint64 written =
        exportTerms(existingBase(paths.at(0)), std::nullopt, paths.at(1), chosen);
    out << QString::number(written) << (written > 1 ? u" fiches exportées"_s : u" fiche exportée"_s)
        << u" dans « "_s << paths.at(1) << u" ».\n"_s;
    return kOk;
}

QString countsText(const BaseCopy::Counts& counts) {
    return QString::number(counts.domains) + u" domaine(s), "_s + QString::number(counts.files) +
           u" fiche(s), "_s + QString::number(counts.accounts) + u" compte(s)"_s;
}

int copyCommand(const QStringList& args, QTextStream& out) {
    const auto [password, paths] = optionAndTwoPaths(args, u"--db-password"_s);
    const DatabaseLocation from = DatabaseAddress::isServer(paths.at(0))
                                      ? serverBase(paths.at(0))
                                      : existingBase(paths.at(0));
    const QString& to = paths.at(1);
    const auto copyInto = [&](Connection& target) {
        Connection source;
        source.open(from, Connection::Mode::Read);
        return BaseCopy::copyAll(source, target);
    };
    BaseCopy::Counts counts;
    if (DatabaseAddress::isServer(to)) {
        if (args.contains(u"--db-password"_s)) {
            throw noDatabasePasswordOnServer(to);
        }
        Connection target;
        target.open(serverBase(to), Connection::Mode::ReadWrite);
        // Tables and rows in one transaction: a copy that fails or is cut short leaves the
        // base empty, ready for the next try.
        Transaction transaction(target);
        requireEmpty(target, to);
        Schema::create(target);
        Connection source;
        source.open(from, Connection::Mode::Read);
        counts = BaseCopy::copyRows(source, target);
        transaction.commit();
    } else {
        createRequest r;
        r.path = to;
        r.databasePassword = args.contains(u"--db-password"_s) ? password : from.password;
        if (const auto bad = Cp1252::firstUnencodable(r.databasePassword)) {
            throw Refusal(u"Le mot de passe de la base de données contient le caractère « "_s +
                          *bad + u" », qui ne peut pas être enregistré."_s);
        }
        r.fill = [&](Connection& target) { counts = copyInto(target); };
        checkTarget(to);
        create(r);
    }
    out << u"Base copiée dans « "_s << to << u" » : "_s << countsText(counts) << u".\n"_s;
    return kOk;
}

int importTermsCommand(const QStringList& args, QTextStream& out) {
    bool missing = false;
    QString user = option(args, u"--user"_s, missing);
    const QStringList paths = operands(args, {u"--user"_s});
    if (missing) {
        throw Refusal(u"Arguments incomplets. Voyez « lexivar-admin --help »."_s);
    }
    if (user.isEmpty()) {
        user = qEnvironmentVariable("USER", u"lexivar-admin"_s);
    }
    const DatabaseLocation base = existingBase(paths.at(0));
    if (!QFileInfo(paths.at(1)).isFile()) {
        throw Refusal(u"Le fichier « "_s + paths.at(1) + u" » est introuvable."_s);
    }
    const TermImportSummary summary = importTerms(base, paths.at(1), user);
    out << termImportText(summary, paths.at(1));
    return summary.fileError.isEmpty() ? kOk : kFailed;
}

} // namespace

int runAdminTool(const QStringList& arguments, QTextStream& out, QTextStream& err,
                 const LegacyReaderFactory& openLegacy) {
    const QString command = arguments.value(0);
    if (command == u"--version"_s || command == u"-v"_s) {
        out << u"lexivar-admin "_s << QString::fromLatin1(kProgramVersion) << u'\n';
        return kOk;
    }
    if (command.isEmpty() || command == u"--help"_s || command == u"-h"_s) {
        (command.isEmpty() ? err : out) << kHelp;
        return command.isEmpty() ? kUsage : kOk;
    }
    if (command != u"create"_s && command != u"demo"_s && command != u"import"_s &&
        command != u"export"_s && command != u"import-terms"_s && command != u"copy"_s) {
        err << u"Commande inconnue : « "_s << command << u" ».\n\n"_s << kHelp;
        return kUsage;
    }
    try {
        if (command == u"import"_s) {
            return importOld(arguments, out, openLegacy);
        }
        if (command == u"export"_s) {
            return exportCommand(arguments, out);
        }
        if (command == u"import-terms"_s) {
            return importTermsCommand(arguments, out);
        }
        if (command == u"copy"_s) {
            return copyCommand(arguments, out);
        }
        createRequest r;
        if (command == u"demo"_s) {
            r.path = arguments.value(1);
            r.demo = true;
            r.databasePassword = QString::fromLatin1(DemoData::kDatabasePassword);
            if (r.path.isEmpty()) {
                throw Refusal(u"Indiquez le chemin de la base de démonstration."_s);
            }
        } else {
            r = parseCreate(arguments);
        }
        if (DatabaseAddress::isServer(r.path)) {
            if (arguments.contains(u"--db-password"_s)) {
                throw noDatabasePasswordOnServer(r.path);
            }
            createOnServer(r);
        } else {
            checkTarget(r.path);
            create(r);
        }
        out << u"Base de données créée : "_s << r.path << u"\n"_s;
        return kOk;
    } catch (const Refusal& e) {
        err << u"lexivar-admin : "_s << e.message << u"\n"_s;
    } catch (const AppError& e) {
        err << u"lexivar-admin : erreur #"_s << e.number() << u" : "_s << e.description()
            << u"\n"_s;
    }
    return kFailed;
}
