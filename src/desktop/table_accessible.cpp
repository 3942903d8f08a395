#include "desktop/table_accessible.h"

#include "app/form1.h"
#include "desktop/picture_box_widget.h"

#include <QAccessibleTableCellInterface>
#include <QAccessibleTableInterface>
#include <map>

namespace kansu {

namespace {

const Form1* lesson = nullptr;

class TableAccessible;

class Cell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    Cell(TableAccessible* table, int row, int column) : table_(table), row_(row), column_(column) {}

    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override { return {}; }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override;

private:
    TableAccessible* table_;
    int row_;
    int column_;
};

class TableAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit TableAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Table) {}
    ~TableAccessible() override { forgetCells(); }

    // A row for x, a row for y, a column a shown second.
    std::vector<std::pair<int, double>> columns() const {
        return lesson ? lesson->tableValues() : std::vector<std::pair<int, double>>();
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override { return rowCount() * columnCount(); }
    QAccessibleInterface* child(int index) const override {
        const int columns = columnCount();
        if (columns == 0 || index < 0 || index >= childCount())
            return nullptr;
        return cellAt(index / columns, index % columns);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (const auto& [at, id] : cells_)
            if (QAccessible::accessibleInterface(id) == child)
                return at.first * columnCount() + at.second;
        return -1;
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
            return nullptr;
        const auto found = cells_.find({row, column});
        if (found != cells_.end())
            return QAccessible::accessibleInterface(found->second);
        auto* cell = new Cell(const_cast<TableAccessible*>(this), row, column);
        cells_[{row, column}] = QAccessible::registerAccessibleInterface(cell);
        return cell;
    }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int column) const override {
        const auto shown = columns();
        return column >= 0 && column < static_cast<int>(shown.size())
                   ? QStringLiteral("%1 秒").arg(shown[static_cast<std::size_t>(column)].first)
                   : QString();
    }
    int columnCount() const override { return static_cast<int>(columns().size()); }
    int rowCount() const override { return 2; }
    QString rowDescription(int row) const override {
        return row == 0 ? QStringLiteral("χ") : QStringLiteral("ｙ");
    }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { forgetCells(); }

    QString valueAt(int row, int column) const {
        const auto shown = columns();
        if (column < 0 || column >= static_cast<int>(shown.size()))
            return {};
        const auto& [second, area] = shown[static_cast<std::size_t>(column)];
        return row == 0 ? QString::number(second) : QString::number(area);
    }

private:
    void forgetCells() {
        for (const auto& [at, id] : cells_)
            QAccessible::deleteAccessibleInterface(id);
        cells_.clear();
    }

    mutable std::map<std::pair<int, int>, QAccessible::Id> cells_;
};

QAccessibleInterface* Cell::parent() const {
    return table_;
}

QAccessibleInterface* Cell::table() const {
    return table_;
}

QString Cell::text(QAccessible::Text t) const {
    if (t != QAccessible::Name && t != QAccessible::Value)
        return {};
    return table_->valueAt(row_, column_);
}

} // namespace

void setAccessibleLesson(const Form1* form) {
    lesson = form;
}

QAccessibleInterface* tableAccessible(const QString& className, QObject* object) {
    auto* widget = qobject_cast<PictureBoxWidget*>(object);
    if (className != QLatin1String("kansu::PictureBoxWidget") || !widget ||
        widget->objectName() != QLatin1String("hyo"))
        return nullptr;
    return new TableAccessible(widget);
}

} // namespace kansu
