#pragma once

#include "records/ClassRegister.h"

#include <QMainWindow>

class QChartView;
class QComboBox;
class QDateEdit;
class QLabel;
class QSortFilterProxyModel;
class QTableView;
class ClassGridModel;
class RegisterModel;
class SystemFolders;

// The teacher's window on the class register: a row for each child, lesson and kind of match,
// the chosen child's scores over time, filters by lesson and dates, and the table exported as
// CSV. A child's name is only ever shown as plain text.
class RegisterWindow final : public QMainWindow {
public:
    explicit RegisterWindow(QWidget* parent = nullptr);

    // Reads the register: "" or why it could not, which the window also shows.
    QString load(const QString& path);
    // Reads the register of the record's folder, and says so when the settings keep none.
    QString loadClassRegister(SystemFolders& folders);
    // Writes the table as it is filtered and sorted: "" or why it could not.
    QString exportTable(const QString& path) const;

    QTableView* table() const { return m_table; }
    QChartView* chart() const { return m_chart; }
    QTableView* classGrid() const { return m_grid; }
    QLabel* classWrong() const { return m_classWrong; }

    // The chosen child's lines taken out of the register, after a question: "" or why not.
    QString eraseChosen();
    // The register put aside for the year, after a question: "" or why not.
    QString closeYear();

private:
    ClassRegister::Filter filter() const;
    // The row chosen in the table, if any.
    const ClassRegister::Row* chosen() const;
    void showTable();
    void showChart();
    void askExport();
    void printChosen();
    bool asked(const QString& question);
    void showClass();

    ClassRegister::Read m_register;
    QComboBox* m_lesson;
    QDateEdit* m_from;
    QDateEdit* m_to;
    QTableView* m_table;
    RegisterModel* m_model;
    QSortFilterProxyModel* m_sorted;
    QChartView* m_chart;
    QWidget* m_legend; // a colour and a name for each lesson in the chart
    QLabel* m_status;
    QString m_path;
    QTableView* m_grid;
    ClassGridModel* m_gridModel;
    QSortFilterProxyModel* m_gridSorted;
    QLabel* m_classWrong;
};
