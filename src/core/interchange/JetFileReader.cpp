#include "core/interchange/JetFileReader.h"

#include "core/AppError.h"
#include "core/db/JetDate.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <mdbtools.h>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kOffsetMask = 0x1fff;
constexpr quint32 kMemoInline = 0x80000000u;
constexpr quint32 kMemoSinglePage = 0x40000000u;
constexpr quint32 kMemoFlags = 0xff000000u;
// The calendar Jet stores: 1 January 100 to the last instant of 31 December 9999.
constexpr double kFirstDay = -657434.0;
constexpr double kLastDay = 2958466.0;

AppError unreadable(const QString& path, const QString& why) {
    return AppError(ErrorNumber::PathFileAccess,
                    u"Impossible de lire « "_s + path + u" » : "_s + why + u"."_s);
}

// Takes a text libmdb allocated.
QString takeText(char* text) {
    QString s = QString::fromUtf8(text);
    g_free(text);
    return s;
}

struct TableFree {
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};

} // namespace

struct JetFileReader::File {
    MdbHandle* mdb = nullptr;
    std::size_t bindSize = 0;

    ~File() {
        if (mdb) {
            mdb_close(mdb);
        }
    }
    QVariant cell(MdbColumn* column, int start, int size, bool isNull);
    QString text(int start, int size, int type, std::size_t storedBytes);
};

JetFileReader::JetFileReader(const QString& path, std::size_t bindSize)
    : m_file(std::make_unique<File>()), m_path(path) {
    if (!isJetFile(path)) {
        throw unreadable(path, u"ce n’est pas une base de l’ancienne version"_s);
    }
    m_file->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!m_file->mdb) {
        throw unreadable(path, u"le fichier ne peut pas être ouvert"_s);
    }
    MdbHandle* mdb = m_file->mdb;
    m_file->bindSize = bindSize;
    // libmdb's own reads (the catalog's properties among them) fill buffers of its bind size:
    // that stays at its default except while this reader converts one value.
    if (!mdb_read_catalog(mdb, MDB_TABLE)) {
        throw unreadable(path, u"son catalogue est illisible"_s);
    }
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && mdb_is_user_table(entry)) {
            m_tables << QString::fromUtf8(entry->object_name);
        }
    }
}

JetFileReader::~JetFileReader() = default;

bool JetFileReader::isJetFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray head = f.read(20);
    return head.size() == 20 && head.mid(4) == QByteArray("Standard Jet DB\0", 16);
}

QDateTime JetFileReader::dateOfDayNumber(double day) {
    if (!std::isfinite(day) || day < kFirstDay || day >= kLastDay) {
        return {};
    }
    return JetDate::fromDayNumber(day);
}

QStringList JetFileReader::tables() const {
    return m_tables;
}

QString JetFileReader::storedName(const QString& table) const {
    for (const QString& t : m_tables) {
        if (t.compare(table, Qt::CaseInsensitive) == 0) {
            return t;
        }
    }
    return {};
}

qint64 JetFileReader::rowCount(const QString& table) const {
    const QString name = storedName(table);
    if (name.isEmpty()) {
        return 0;
    }
    QByteArray n = name.toUtf8();
    std::unique_ptr<MdbTableDef, TableFree> t(
        mdb_read_table_by_name(m_file->mdb, n.data(), MDB_TABLE));
    return t ? static_cast<qint64>(t->num_rows) : 0;
}

void JetFileReader::readTable(const QString& table,
                              const std::function<void(const LegacyRow&)>& row) {
    const QString name = storedName(table);
    if (name.isEmpty()) {
        throw AppError(ErrorNumber::ItemNotFound,
                       u"La table « "_s + table + u" » est absente de « "_s + m_path + u" »."_s);
    }
    QByteArray n = name.toUtf8();
    std::unique_ptr<MdbTableDef, TableFree> t(
        mdb_read_table_by_name(m_file->mdb, n.data(), MDB_TABLE));
    if (!t || !mdb_read_columns(t.get())) {
        throw unreadable(m_path, u"la table « "_s + name + u" » est illisible"_s);
    }
    std::vector<MdbColumn*> columns(t->num_cols);
    QStringList names;
    for (unsigned i = 0; i < t->num_cols; ++i) {
        columns[i] = static_cast<MdbColumn*>(g_ptr_array_index(t->columns, i));
        names << QString::fromUtf8(columns[i]->name);
    }
    std::vector<MdbField> fields(t->num_cols);
    MdbHandle* mdb = m_file->mdb;
    const int pageSize = static_cast<int>(mdb->fmt->pg_size);
    mdb_rewind_table(t.get());
    // No column is bound: libmdb only walks the rows, and each row is taken apart again here,
    // where its null flags and stored bytes can still be seen.
    while (mdb_fetch_row(t.get())) {
        int start = 0;
        size_t size = 0;
        if (mdb_find_row(mdb, static_cast<int>(t->cur_row) - 1, &start, &size) != 0 ||
            mdb_crack_row(t.get(), start & kOffsetMask, size, fields.data()) < 0) {
            throw unreadable(m_path, u"une ligne de la table « "_s + name + u" » est illisible"_s);
        }
        LegacyRow values;
        for (unsigned i = 0; i < t->num_cols; ++i) {
            const MdbField& f = fields[i];
            const auto c = static_cast<unsigned>(f.colnum);
            if (c >= t->num_cols) {
                continue;
            }
            if (!f.is_null && columns[c]->col_type != MDB_BOOL &&
                (f.start < 0 || f.siz < 0 || f.start + f.siz > pageSize)) {
                throw unreadable(m_path,
                                 u"une ligne de la table « "_s + name + u" » est endommagée"_s);
            }
            values.insert(names[c], m_file->cell(columns[c], f.start, f.siz, f.is_null));
        }
        row(values);
    }
}

QVariant JetFileReader::File::cell(MdbColumn* column, int start, int size, bool isNull) {
    // A yes/no column keeps its value in the null flag.
    if (column->col_type == MDB_BOOL) {
        return QVariant(!isNull);
    }
    if (isNull) {
        return QVariant();
    }
    unsigned char* page = mdb->pg_buf;
    switch (column->col_type) {
    case MDB_BYTE:
        return QVariant(static_cast<int>(mdb_get_byte(page, start)));
    case MDB_INT:
        return QVariant(static_cast<int>(static_cast<qint16>(mdb_get_int16(page, start))));
    case MDB_LONGINT:
        return QVariant(static_cast<int>(static_cast<qint32>(mdb_get_int32(page, start))));
    case MDB_FLOAT:
        return QVariant(static_cast<double>(mdb_get_single(page, start)));
    case MDB_DOUBLE:
        return QVariant(mdb_get_double(page, start));
    case MDB_DATETIME:
        // libmdb's own text gives nothing before 1900: the day number is read instead.
        return QVariant(dateOfDayNumber(mdb_get_double(page, start)));
    case MDB_TEXT:
        return QVariant(text(start, size, MDB_TEXT, static_cast<std::size_t>(size)));
    case MDB_MEMO: {
        if (size < MDB_MEMO_OVERHEAD) {
            return QVariant(QString(u""_s));
        }
        // The memo's stored length, to raise the bind size above it (libmdb cuts there).
        const auto header = static_cast<quint32>(mdb_get_int32(page, start));
        std::size_t stored = 0;
        if (header & kMemoInline) {
            stored = static_cast<std::size_t>(size);
        } else if (header & kMemoSinglePage) {
            stored = static_cast<std::size_t>(mdb->fmt->pg_size);
        } else if ((header & kMemoFlags) == 0) {
            stored = header;
        }
        return QVariant(text(start, size, MDB_MEMO, stored));
    }
    case MDB_MONEY:
        return QVariant(takeText(mdb_money_to_string(mdb, start)));
    case MDB_NUMERIC:
        return QVariant(
            takeText(mdb_numeric_to_string(mdb, start, column->col_scale, column->col_prec)));
    case MDB_REPID:
        return QVariant(takeText(mdb_uuid_to_string(page, start)));
    case MDB_BINARY:
        return QVariant(QByteArray(reinterpret_cast<const char*>(page) + start, size));
    default:
        // OLE objects and other kinds have no place in a Lexivar base.
        return QVariant();
    }
}

QString JetFileReader::File::text(int start, int size, int type, std::size_t storedBytes) {
    // Stored text is UTF-16 or compressed to one byte a character: UTF-8 needs at most twice
    // the stored bytes.
    mdb_set_bind_size(mdb, std::max(bindSize, 2 * storedBytes + 16));
    QString s = takeText(mdb_col_to_string(mdb, mdb->pg_buf, start, type, size));
    mdb_set_bind_size(mdb, MDB_BIND_SIZE);
    return s;
}
