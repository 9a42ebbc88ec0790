#include "gui/search/SearchPanel.h"

#include "core/Clock.h"
#include "core/search/SearchStatement.h"
#include "core/search/TextColumn.h"
#include "core/session/Session.h"
#include "core/text/ShortDateFormat.h"
#include "core/text/Validation.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/lists/ListFiller.h"
#include "gui/lists/ListView.h"
#include "gui/widgets/ActivationOrigin.h"
#include "gui/widgets/Anchors.h"
#include "gui/widgets/Named.h"
#include "gui/widgets/ProgressWindow.h"
#include "gui/widgets/RecordChanges.h"
#include "gui/widgets/Twips.h"
#include "gui/widgets/WrappingButton.h"

#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

const QString kNewSearchOrder = u" ORDER BY Files.ID;"_s;
const QString kRefillOrder = u" ORDER BY Files.ID "_s;
const QString kTitle = u"Affichage des fiches"_s;

template <typename T> T* place(T* widget, const QString& name, const QRect& where) {
    named(widget, name)->setGeometry(where);
    return widget;
}

QLabel* label(QWidget& parent, const QString& name, const QString& text, int left, int top,
              int width) {
    return place(new QLabel(text, &parent), name,
                 Twips::rect(left, top, width, Twips::kLabelHeight));
}

} // namespace

SearchPanel::SearchPanel(QWidget& window, Session& session, Variant variant)
    : QObject(&window), m_window(window), m_session(session), m_variant(std::move(variant)) {
    label(window, u"Label1"_s, u"Rechercher dans:"_s, 120, 120, 2415);
    cboField = place(new QComboBox(&window), u"cboField"_s, Twips::rect(120, 360, 2415, 315));
    label(window, u"Label2"_s, u"Pour:"_s, m_variant.textLeft, 120, 3255);
    Label3 = label(window, u"Label3"_s, u"Entre le"_s, 2760, m_variant.dateLabelTop, 735);
    Label5 = label(window, u"Label5"_s, u"Et le"_s, 6120, m_variant.dateLabelTop, 975);
    // Pickers and labels sit on the same row as the search text, shown in its place.
    dtpDateStart =
        place(new QDateEdit(&window), u"dtpDateStart"_s, Twips::rect(3360, 360, 1815, 315));
    dtpDateEnd = place(new QDateEdit(&window), u"dtpDateEnd"_s, Twips::rect(6480, 360, 1815, 315));
    txtSearch = place(new QLineEdit(&window), u"txtSearch"_s,
                      Twips::rect(m_variant.textLeft, 360, 4935, 285));
    cmdSearchResult = place(new WrappingButton(u"Rechercher &dans les résultats"_s, &window),
                            u"cmdSearchResult"_s, Twips::rect(8520, 360, 1575, 615));
    cmdSearch = place(new QPushButton(u"&Rechercher"_s, &window), u"cmdSearch"_s,
                      Twips::rect(10200, 360, 1440, 615));
    lblResult = label(window, u"lblResult"_s, QString(), 120, 960, 375);
    Label4 = label(window, u"Label4"_s, u"Résultats trouvés:"_s, 600, 960, 2655);
    lvwResult = place(new ListView(&window), u"lvwResult"_s, Twips::rect(120, 1200, 11535, 5895));
    if (m_variant.multipleSelection) {
        lvwResult->setSelectionMode(QAbstractItemView::ExtendedSelection);
    }
    cmdSearchResult->setEnabled(false);
    // Typing, paste and input methods alike: the record number field holds digits only.
    m_digitsOnly = new QRegularExpressionValidator(QRegularExpression(u"[0-9]{0,18}"_s), this);
    for (QDateEdit* d : {dtpDateStart, dtpDateEnd}) {
        d->setCalendarPopup(true);
    }
    placeBefore(*Label3, *dtpDateStart);
    placeBefore(*Label5, *dtpDateEnd);

    for (int i = 0; i < SearchStatement::kFieldCount; ++i) {
        cboField->addItem(SearchStatement::captionOf(i), i);
    }
    cboField->installEventFilter(this);
    txtSearch->installEventFilter(this);
    connect(cboField, &QComboBox::activated, this, [this] { fieldChosen(); });
    connect(cmdSearch, &QPushButton::clicked, this, &SearchPanel::search);
    connect(cmdSearchResult, &QPushButton::clicked, this, &SearchPanel::searchWithinResults);
    connect(lvwResult, &ListView::columnClicked, this, [this](int position) {
        ListFiller::sortByColumn(*lvwResult, static_cast<std::int16_t>(position));
    });
    connect(&RecordChanges::instance(), &RecordChanges::recordsChanged, this,
            &SearchPanel::recordsChanged);
    ActivationOrigin::watch();
}

SearchPanel::~SearchPanel() = default;

void SearchPanel::placeBefore(QLabel& label, const QWidget& picker) {
    label.adjustSize();
    label.move(picker.x() - label.width() - 4, picker.y() + (picker.height() - label.height()) / 2);
}

void SearchPanel::anchor(Anchors& anchors) const {
    anchors.add(cmdSearchResult, Anchors::Right | Anchors::Top);
    anchors.add(cmdSearch, Anchors::Right | Anchors::Top);
    anchors.add(lvwResult, Anchors::Left | Anchors::Right | Anchors::Top | Anchors::Bottom);
}

void SearchPanel::load() {
    m_colDisplay = std::make_unique<ColumnList>();
    const QString columns[][2] = {
        {u"ID"_s, m_variant.firstHeader},
        {u"NAME"_s, u"Domaine"_s},
        {u"ENGLISH"_s, u"Terme anglais"_s},
        {u"FRENCH"_s, u"Terme français"_s},
        {u"AF"_s, u"Source A/F"_s},
        {u"DATE"_s, u"Date de création"_s},
        {u"CREATEDBY"_s, u"Auteur"_s},
        {u"DATEMODIFIED"_s, u"Dernière Date De Modification"_s},
        {u"MODIFIEDBY"_s, u"Modifié Par"_s},
    };
    for (const auto& c : columns) {
        auto descriptor = std::make_shared<TextColumn>();
        descriptor->define(c[0], c[1]);
        m_colDisplay->push_back(descriptor);
    }
    cboField->setCurrentIndex(0);
    fieldChosen();
    const QString format = shortDateFormat();
    for (QDateEdit* d : {dtpDateStart, dtpDateEnd}) {
        d->setDisplayFormat(format);
        d->setDate(Clock::today());
    }
}

bool SearchPanel::mayClose() {
    if (ProgressWindow::instance().isLoaded()) {
        return false;
    }
    unload();
    return true;
}

void SearchPanel::unload() {
    m_query.clear();
    ListFiller::destroyColumns(m_colDisplay);
}

int SearchPanel::chosenField() const {
    return cboField->currentData().toInt();
}

bool SearchPanel::dateFieldChosen() const {
    return txtSearch->isHidden();
}

void SearchPanel::fieldFocused() {
    m_fieldTag = cboField->currentText();
}

void SearchPanel::fieldChosen() {
    if (cboField->currentText().compare(m_fieldTag, Qt::CaseInsensitive) != 0) {
        // setText, unlike clear(), also drops the undo history: undo must not bring text back
        // into a field that now takes digits only.
        txtSearch->setText(QString());
    }
    const int field = chosenField();
    const bool date =
        field == SearchStatement::kDateCreated || field == SearchStatement::kDateModified;
    txtSearch->setValidator(field == SearchStatement::kIdField ? m_digitsOnly : nullptr);
    txtSearch->setVisible(!date);
    for (QWidget* w : std::initializer_list<QWidget*>{dtpDateStart, dtpDateEnd, Label3, Label5}) {
        w->setVisible(date);
    }
}

bool SearchPanel::acceptSearchKey(int keyCode) {
    if (keyCode == 13) {
        search();
        return false;
    }
    if (chosenField() == SearchStatement::kIdField) {
        if (keyCode > 0x7FFF) {
            return false; // no 16-bit key code: never a digit
        }
        auto key = static_cast<std::int16_t>(keyCode);
        filterNumberKey(key);
        return key != 0;
    }
    return true;
}

bool SearchPanel::criterionAccepted() {
    if (dateFieldChosen() || SearchStatement::isValidCriterion(chosenField(), txtSearch->text())) {
        return true;
    }
    showMessage(SearchStatement::notANumberMessage(), u"Attention!"_s, Dialogs::Buttons::Ok,
                Dialogs::Icon::Information);
    return false;
}

void SearchPanel::search() {
    if (ProgressWindow::instance().isLoaded() || !criterionAccepted()) {
        return;
    }
    m_query =
        SearchStatement::newSearchStatement(chosenField(), txtSearch->text(), dtpDateStart->date(),
                                            dtpDateEnd->date(), dateFieldChosen());
    fill(m_query + kNewSearchOrder);
    cmdSearchResult->setEnabled(true);
}

void SearchPanel::searchWithinResults() {
    if (ProgressWindow::instance().isLoaded() || !criterionAccepted()) {
        return;
    }
    if (!dateFieldChosen() && txtSearch->text().isEmpty()) {
        showMessage(u"Vous devez entrer un critère de recherche!"_s, u"Attention!"_s,
                    Dialogs::Buttons::Ok, Dialogs::Icon::Information);
    } else {
        m_query += u" AND "_s + SearchStatement::condition(chosenField(), txtSearch->text(),
                                                           dtpDateStart->date(), dtpDateEnd->date(),
                                                           dateFieldChosen());
    }
    fillAgain();
}

void SearchPanel::fill(const QString& statement) {
    const std::int32_t count = ListFiller::fill(*lvwResult, m_session.location(), statement,
                                                m_window, kTitle, m_colDisplay.get());
    if (m_variant.setRecordCommands) {
        m_variant.setRecordCommands(count != 0);
    }
    showCount(count);
}

void SearchPanel::showCount(std::int32_t count) {
    lblResult->setText(QString::number(count));
    lblResult->adjustSize();
    // A long count pushes its label aside rather than running into it.
    Label4->move(std::max(Twips::px(600), lblResult->geometry().right() + 6), Label4->y());
}

std::int32_t SearchPanel::refill() {
    QSet<QString> chosen;
    for (int row : lvwResult->selectedRows()) {
        chosen.insert(lvwResult->itemText(row, 0));
    }
    const std::int32_t count =
        ListFiller::fill(*lvwResult, m_session.location(), m_query + kRefillOrder, m_window, kTitle,
                         m_colDisplay.get());
    std::vector<int> rows;
    for (int row = 0;
         row < lvwResult->itemCount() && rows.size() < static_cast<size_t>(chosen.size()); ++row) {
        if (chosen.contains(lvwResult->itemText(row, 0))) {
            rows.push_back(row);
        }
    }
    lvwResult->selectRows(rows);
    return count;
}

void SearchPanel::recordsChanged() {
    if (!m_query.isEmpty() && !ProgressWindow::instance().isLoaded()) {
        refill();
    }
}

void SearchPanel::fillAgain() {
    fill(m_query + kRefillOrder);
}

void SearchPanel::windowActivated() {
    if (!ActivationOrigin::returnFromDialog(m_window)) {
        activate();
    }
}

void SearchPanel::activate() {
    if (m_query.isEmpty()) {
        return;
    }
    if (m_variant.beforeRefill) {
        m_variant.beforeRefill();
    }
    // The progress window's own closing is a return from a dialog (see windowActivated); its
    // once-after-a-run flag would also swallow the user's next real return.
    if (!ProgressWindow::instance().isLoaded()) {
        refill();
    }
}

bool SearchPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cboField && event->type() == QEvent::FocusIn) {
        fieldFocused();
    } else if (watched == txtSearch && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const QString text = key->text();
        // Editing keys (Delete, Backspace) carry control characters on some systems: they are
        // left to the field, like every key that types nothing.
        if (enter || (text.size() == 1 && text.front().isPrint())) {
            return !acceptSearchKey(enter ? 13 : text.front().unicode());
        }
    }
    return QObject::eventFilter(watched, event);
}
