#include "tools/AdminToolFixture.h"

#include "core/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <tuple>

using namespace Qt::StringLiterals;

class AdminTermsTest : public AdminToolFixture {
protected:
    void SetUp() override {
        AdminToolFixture::SetUp();
        db = path(u"Lexivar4.mdb"_s);
        ASSERT_EQ(run({u"create"_s, db, u"--name"_s, u"Admin"_s, u"--login"_s, u"admin"_s,
                       u"--password"_s, u"admin"_s, u"--db-password"_s, u"clé"_s}),
                  0);
    }
    static QString fixture(const QString& name) {
        return QDir(QStringLiteral(LEXIVAR_LEGACY_FIXTURES)).filePath(name);
    }
    QString db;
};

TEST_F(AdminTermsTest, importsPrintsTheReportAndExportsEachFormat) {
    ASSERT_EQ(run({u"import-terms"_s, db, fixture(u"several-terms-v3.tbx"_s), u"--user"_s,
                   u"mtremblay"_s}),
              0)
        << err;
    EXPECT_EQ(out, u"Importation de « several-terms-v3.tbx »\n"
                   u"3 entrées lues\n1 fiche ajoutée\n1 domaine ajouté\n1 doublon écarté\n"
                   u"1 entrée refusée\n\n"
                   u"Doublons écartés (déjà dans la base ou plus haut dans le fichier) :\n"
                   u"  c6 : « Heart Attack » / « Crise cardiaque » (médecine)\n\n"
                   u"Entrées refusées :\n  c7 : section de langue sans langue connue\n\n"
                   u"Remarques :\n  c5 : plusieurs termes par langue : « heart attack » et "
                   u"« crise cardiaque » retenus, les autres mis dans l’observation\n"_s);
    for (const auto& [format, name, start] :
         {std::tuple{u"tbx"_s, u"a.xml"_s, QByteArray("<?xml")},
          std::tuple{u"tbx2"_s, u"b.tbx"_s, QByteArray("<?xml")},
          std::tuple{QString(), u"c.csv"_s, QByteArray("\xEF\xBB\xBF\"Fiche\"")}}) {
        const QStringList args =
            format.isEmpty() ? QStringList{u"export"_s, db, path(name)}
                             : QStringList{u"export"_s, db, path(name), u"--format"_s, format};
        ASSERT_EQ(run(args), 0) << err;
        EXPECT_EQ(out, u"1 fiche exportée dans « "_s + path(name) + u" ».\n"_s);
        EXPECT_TRUE(readFile(path(name)).startsWith(start)) << name;
    }
    EXPECT_TRUE(readFile(path(u"b.tbx"_s)).contains("<martif"));
}

TEST_F(AdminTermsTest, aRefusedFileFailsAndSaysWhy) {
    EXPECT_EQ(run({u"import-terms"_s, db, fixture(u"malformed-v3.tbx"_s)}), 1);
    EXPECT_TRUE(
        out.contains(u"Le fichier est refusé ; aucune fiche n’a été ajoutée.\nLigne 11 : "_s))
        << out;
    EXPECT_EQ(run({u"export"_s, db, path(u"x.tbx"_s), u"--format"_s, u"xls"_s}), 1);
    EXPECT_EQ(err, u"lexivar-admin : Format inconnu : « xls » (tbx, tbx2 ou csv).\n"_s);
    EXPECT_EQ(run({u"import-terms"_s, path(u"absente.mdb"_s), fixture(u"dct-v3.tbx"_s)}), 1);
    EXPECT_FALSE(QFileInfo::exists(path(u"x.tbx"_s)));
}
