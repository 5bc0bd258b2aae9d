#include "teacher/RegisterModel.h"

#include "teacher/Report.h"

#include <QColor>

void RegisterModel::setRows(QList<ClassRegister::Row> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int RegisterModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RegisterModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count;
}

QVariant RegisterModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != SortRole))
        return {};
    const ClassRegister::Row& row = m_rows[index.row()];
    const bool sorting = role == SortRole;
    switch (Column(index.column())) {
    case Name: // the rows come in a teacher's order of names already
        return sorting ? QVariant(index.row()) : QVariant(row.name);
    case User:
        return row.user;
    case Lesson:
        return row.lesson;
    case Kind:
        return QString::fromLatin1(ClassRegister::kindName(row.kind));
    case Matches:
        return row.matches;
    case Best:
        return row.best;
    case Last:
        return row.last;
    case WrongPerMatch:
        return sorting ? QVariant(double(row.wrong) / std::max(row.matches, 1))
                       : QVariant(ClassRegister::wrongPerMatch(row));
    case MostWrong:
        return sorting && !row.mostWrong.isEmpty()
                   ? QVariant(row.mostWrong.first().second)
                   : QVariant(ClassRegister::mostWrongText(row.mostWrong));
    case MistakeKinds:
        return Mistakes::kinds(row.wrongNumbers, row.lesson);
    case LetPassPerMatch:
        return sorting ? QVariant(double(row.letPass) / std::max(row.matches, 1))
                       : QVariant(
                             QString::number(double(row.letPass) / std::max(row.matches, 1), 'f', 1)
                                 .replace(u'.', u','));
    case Count:
        break;
    }
    return {};
}

QVariant RegisterModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const QStringList titles{QStringLiteral("Nome"),
                                    QStringLiteral("Utente"),
                                    QStringLiteral("Lezione"),
                                    QStringLiteral("Tipo"),
                                    QStringLiteral("Partite"),
                                    QStringLiteral("Punteggio migliore"),
                                    QStringLiteral("Ultimo punteggio"),
                                    QStringLiteral("Errori a partita"),
                                    QStringLiteral("Numeri sbagliati più spesso"),
                                    QStringLiteral("Tipo di errore"),
                                    QStringLiteral("Multipli lasciati a partita")};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return titles.value(section);
}

void ClassGridModel::setGrid(QList<Mistakes::Child> children, QList<int> lessons) {
    beginResetModel();
    m_children = std::move(children);
    m_lessons = std::move(lessons);
    endResetModel();
}

int ClassGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_children.size());
}

int ClassGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_lessons.size()) + 1;
}

QVariant ClassGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const Mistakes::Child& child = m_children[index.row()];
    if (index.column() == 0)
        return role == Qt::DisplayRole || role == Qt::AccessibleTextRole ? QVariant(child.name)
               : role == RegisterModel::SortRole                         ? QVariant(index.row())
                                                                         : QVariant();
    const int lesson = m_lessons[index.column() - 1];
    const Mistakes::Share share = child.lessons.value(lesson);
    switch (role) {
    case Qt::DisplayRole:
        return share.text();
    case RegisterModel::SortRole:
        return share.played() ? share.value() : -1.0;
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::BackgroundRole:
        return share.played() ? QVariant(Report::shareColour(share.value())) : QVariant();
    case Qt::ForegroundRole: // dark on the light half of the scale, light on the dark one
        return share.played() ? QVariant(QColor(share.value() > 0.5 ? Qt::black : Qt::white))
                              : QVariant();
    case Qt::AccessibleTextRole:
        return share.played()
                   ? QStringLiteral("%1, %2: %3 di colpi giusti, %4 su %5")
                         .arg(child.name, Report::lessonName(lesson).toLower(), share.text())
                         .arg(share.right)
                         .arg(share.right + share.wrong)
                   : QStringLiteral("%1, %2: nessuna gara")
                         .arg(child.name, Report::lessonName(lesson).toLower());
    default:
        return {};
    }
}

QVariant ClassGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section == 0 ? QStringLiteral("Nome") : Report::lessonName(m_lessons.value(section - 1));
}

QByteArray tableCsv(const QAbstractItemModel& table) {
    QByteArray csv = QByteArrayLiteral("\xEF\xBB\xBF");
    const auto line = [&](const auto& cell) {
        QByteArrayList fields;
        for (int column = 0; column < table.columnCount(); ++column) {
            const QVariant value = cell(column);
            // A number is a number, not text that could start a formula.
            fields << (value.typeId() == QMetaType::Int
                           ? QByteArray::number(value.toInt())
                           : ClassRegister::csvField(value.toString()));
        }
        csv += fields.join(';') + "\r\n";
    };
    line([&](int column) { return table.headerData(column, Qt::Horizontal); });
    for (int row = 0; row < table.rowCount(); ++row)
        line([&](int column) { return table.index(row, column).data(); });
    return csv;
}
