#include "tools/admin/DemoData.h"

#include "core/db/Recordset.h"

#include <QDateTime>
#include <QString>

using namespace Qt::StringLiterals;

namespace {

struct Account {
    const char16_t* name;
    const char16_t* login;
    const char16_t* pass;
    int type;
};

struct Term {
    int domain; // index into the domain list
    const char16_t* english;
    const char16_t* french;
    const char16_t* source;
    const char16_t* definition;
    const char16_t* observation;
    int account; // author, index into the account list
    QDate created;
    QDate modified;
};

const char16_t* const kDomains[] = {u"Informatique", u"Électricité", u"Médecine", u"Droit",
                                    u"Environnement"};

const Account kAccounts[] = {
    {u"Administrateur démo", u"admin", u"admin", 0},
    {u"Jean-François Côté", u"jfcote", u"gestion", 1},
    {u"Élise Gagnon", u"egagnon", u"proprio", 2},
};

const Term kTerms[] = {
    {0, u"hard disk", u"disque dur", u"OQLF", u"Support de stockage magnétique à plateaux rigides.",
     u"", 0, QDate(2004, 3, 12), QDate(2004, 3, 12)},
    {0, u"spreadsheet", u"tableur", u"OQLF",
     u"Logiciel qui présente les données en lignes et en colonnes et calcule leurs relations.",
     u"Ne pas confondre avec « feuille de calcul », le document produit.", 1, QDate(2005, 6, 1),
     QDate(2005, 11, 23)},
    {0, u"e-mail", u"courriel", u"Office québécois de la langue française",
     u"Message transmis par un réseau informatique.\r\nSe dit aussi du service lui-même.",
     u"Terme privilégié au Québec.", 2, QDate(2005, 12, 31), QDate(2006, 2, 14)},
    {1, u"circuit breaker", u"disjoncteur", u"CEI 60050",
     u"Appareil qui interrompt automatiquement le courant en cas de surintensité.", u"", 1,
     QDate(2003, 9, 8), QDate(2003, 9, 8)},
    {1, u"ground fault", u"défaut à la terre", u"CEI 60050",
     u"Contact accidentel entre un conducteur sous tension et la terre.", u"", 2,
     QDate(2006, 1, 17), QDate(2006, 1, 20)},
    {1, u"power outage", u"panne d'électricité", u"Hydro",
     u"Interruption de l'alimentation en énergie électrique.", u"Syn. : « coupure de courant ».", 0,
     QDate(2006, 4, 3), QDate(2006, 4, 3)},
    {2, u"heart failure", u"insuffisance cardiaque", u"Le Grand dictionnaire",
     u"Incapacité du cœur à assurer un débit sanguin suffisant.", u"", 1, QDate(2002, 5, 21),
     QDate(2005, 8, 30)},
    {2, u"sore throat", u"mal de gorge", u"Usage courant", u"Douleur à la gorge.",
     u"Terme général ; préciser « pharyngite » au besoin.", 2, QDate(2006, 10, 2),
     QDate(2006, 10, 2)},
    {3, u"bill", u"projet de loi", u"Lexique parlementaire",
     u"Texte législatif soumis à l'étude d'une assemblée.", u"", 0, QDate(2001, 11, 5),
     QDate(2001, 11, 5)},
    {3, u"court of appeal", u"cour d'appel", u"Juriterm",
     u"Tribunal qui entend les appels des jugements de première instance.", u"", 1,
     QDate(2004, 2, 29), QDate(2006, 7, 12)},
    {4, u"greenhouse effect", u"effet de serre", u"GIEC",
     u"Réchauffement de la basse atmosphère dû aux gaz qui retiennent le rayonnement "
     u"infrarouge.",
     u"", 2, QDate(2005, 4, 22), QDate(2005, 4, 22)},
    {4, u"water table", u"nappe phréatique", u"Office québécois de la langue française",
     u"Nappe d'eau souterraine qui alimente les puits et les sources.",
     u"Pl. : nappes phréatiques.", 0, QDate(2006, 6, 5), QDate(2006, 6, 9)},
};

QString str(const char16_t* s) {
    return QString::fromUtf16(s);
}

} // namespace

namespace DemoData {

void fill(Connection& connection) {
    std::vector<qlonglong> domainIds;
    {
        Recordset rs;
        rs.open(u"SELECT * FROM Domains WHERE ID = 0"_s, connection, Recordset::Dynamic,
                Recordset::OptimisticLock);
        for (const auto* name : kDomains) {
            rs.addNew();
            domainIds.push_back(rs.value(u"ID"_s).toLongLong());
            rs.setValue(u"Name"_s, str(name));
            rs.update();
        }
    }
    {
        Recordset rs;
        rs.open(u"SELECT * FROM Passwords WHERE ID = 0"_s, connection, Recordset::Dynamic,
                Recordset::OptimisticLock);
        for (const auto& a : kAccounts) {
            rs.addNew();
            rs.setValue(u"Name"_s, str(a.name));
            rs.setValue(u"Login"_s, str(a.login));
            rs.setValue(u"Pass"_s, str(a.pass));
            rs.setValue(u"Type"_s, a.type);
            rs.update();
        }
    }
    Recordset rs;
    rs.open(u"SELECT * FROM Files WHERE ID = 0"_s, connection, Recordset::Dynamic,
            Recordset::OptimisticLock);
    for (const auto& t : kTerms) {
        rs.addNew();
        rs.setValue(u"English"_s, str(t.english));
        rs.setValue(u"French"_s, str(t.french));
        rs.setValue(u"AF"_s, str(t.source));
        rs.setValue(u"DomainID"_s, domainIds[t.domain]);
        rs.setValue(u"DEFINITION"_s, str(t.definition));
        rs.setValue(u"OBSERVATION"_s, str(t.observation));
        rs.setValue(u"Date"_s, t.created);
        rs.setValue(u"CreatedBy"_s, str(kAccounts[t.account].name));
        rs.setValue(u"DateModified"_s, t.modified);
        rs.setValue(u"ModifiedBy"_s, t.modified == t.created ? QString() : str(kAccounts[0].name));
        rs.update();
    }
}

} // namespace DemoData
