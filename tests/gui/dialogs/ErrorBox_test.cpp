#include "gui/dialogs/ErrorBox.h"

#include "core/AppError.h"
#include "gui/TestSupport.h"

using namespace Qt::StringLiterals;

class ErrorBoxTest : public LexivarTest {};

TEST_F(ErrorBoxTest, BothWordingsShowTheNumberDescriptionAndProcedure) {
    showErrorBox(u"cmdOk_Click"_s, AppError(-2147217843, u"Mot de passe non valide."_s));
    showErrorBox(u"bSaveEncriptPassword"_s, 76, u"Chemin introuvable"_s, ErrorWording::Second);
    ASSERT_EQ(dialogs->messages.size(), 2u);
    const auto& first = dialogs->messages[0];
    EXPECT_EQ(first.text,
              u"Une erreur #-2147217843 s\u2019est produite:\r\n\r\nMot de passe non valide."_s);
    EXPECT_EQ(first.title, u"Procédure: cmdOk_Click"_s);
    EXPECT_EQ(first.buttons, Dialogs::Buttons::Ok);
    EXPECT_EQ(first.icon, Dialogs::Icon::Critical);
    EXPECT_EQ(dialogs->messages[1].text,
              u"Une erreur  #76 s'est produite:\r\n\r\nChemin introuvable"_s);
    EXPECT_EQ(dialogs->messages[1].title, u"Procédure: bSaveEncriptPassword"_s);
}
