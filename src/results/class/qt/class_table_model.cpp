#include "results/class/qt/class_table_model.h"

#include "results/class/mark_reasons.h"

#include <QFileInfo>

#include <optional>

namespace keystride {

namespace {

using classmarking::MarkedTest;

QVariant number(const std::optional<int>& value) {
    return value ? QVariant(*value) : QVariant(QString());
}

// A value the run never reached sorts below every count and speed.
QVariant sortNumber(const std::optional<double>& value) {
    return value ? *value : -1.0;
}

std::optional<double> asDouble(const std::optional<int>& value) {
    return value ? std::optional<double>(*value) : std::nullopt;
}

// The layout faults that cost a word, as the report names them.
QString faultsText(const marking::RunRecord& run) {
    QStringList lines;
    for (const classmarking::LayoutFaultNote& note : classmarking::layoutFaultNotes(run))
        lines << QString::fromStdU16String(note.line);
    return lines.join(QStringLiteral(", "));
}

// Why a test has no marks, or what else its run said; message boxes' line breaks become blanks.
QString messageText(const marking::RunRecord& run) {
    QStringList messages;
    for (const auto& [title, text] : run.messages) {
        QString line = QString::fromStdString(title.empty() ? text : title + ": " + text);
        messages << line.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).simplified();
    }
    return messages.join(QStringLiteral("; "));
}

} // namespace

ClassTableModel::ClassTableModel(QObject* parent) : QAbstractTableModel(parent) {}

int ClassTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_tests.size());
}

int ClassTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ClassTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const MarkedTest& test = m_tests[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return display(test, index.column());
    case SortRole:
        return sortValue(test, index.column());
    case Qt::ToolTipRole:
        // The whole path, and the whole of texts a narrow column cuts off.
        if (index.column() == Test)
            return QString::fromStdString(test.run.typedTest);
        return index.column() >= Faults ? display(test, index.column()) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() >= Words && index.column() <= Wpm
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant();
    default:
        return {};
    }
}

QVariant ClassTableModel::display(const MarkedTest& test, int column) const {
    const marking::RunRecord& run = test.run;
    switch (column) {
    case Test:
        return QFileInfo(QString::fromStdString(run.typedTest)).fileName();
    case Words:
        return number(run.wordsTyped);
    case Strokes:
        return number(run.strokeCount);
    case Errors:
        return number(run.errorCount);
    case Wpm:
        return run.wpm() ? QVariant(*run.wpm()) : QVariant(QString());
    case Faults:
        return faultsText(run);
    case Message:
        return messageText(run);
    default:
        return {};
    }
}

QVariant ClassTableModel::sortValue(const MarkedTest& test, int column) const {
    const marking::RunRecord& run = test.run;
    switch (column) {
    case Words:
        return sortNumber(asDouble(run.wordsTyped));
    case Strokes:
        return sortNumber(asDouble(run.strokeCount));
    case Errors:
        return sortNumber(asDouble(run.errorCount));
    case Wpm:
        return sortNumber(run.wpm());
    default:
        return display(test, column).toString().toLower();
    }
}

QVariant ClassTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    static const char* const titles[ColumnCount] = {"Test", "Words",  "Strokes", "Errors",
                                                    "WPM",  "Faults", "Message"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(titles[section])
                                                 : QVariant();
}

void ClassTableModel::clear() {
    beginResetModel();
    m_tests.clear();
    endResetModel();
}

void ClassTableModel::append(const MarkedTest& test) {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    m_tests.push_back(test);
    endInsertRows();
}

} // namespace keystride
