#include "teacher/RegisterModel.h"

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
        return sorting && !row.mostWrong.isEmpty() ? QVariant(row.mostWrong.first().second)
                                                   : QVariant(ClassRegister::mostWrongText(row));
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
                                    QStringLiteral("Numeri sbagliati più spesso")};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return titles.value(section);
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
