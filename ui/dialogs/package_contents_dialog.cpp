#include "ui/dialogs/package_contents_dialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/dialogs/dialog_controls.h"

namespace verada {

PackageContentsDialog::PackageContentsDialog(QWidget* owner, const std::string& packageName,
                                             const PackageListing& listing)
    : QDialog(owner) {
    setWindowTitle(QStringLiteral("Package Contents"));

    auto* summary = new QLabel(QString::fromStdString(packageName + ": " + listing.summary), this);
    summary->setObjectName(QStringLiteral("id%1").arg(kSummaryId));
    summary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    const ListingRow& columns = listingColumns();
    auto* table = new QTableWidget(static_cast<int>(listing.rows.size()),
                                   static_cast<int>(columns.size()), this);
    table->setObjectName(QStringLiteral("id%1").arg(kTableId));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->setVisible(false);
    for (std::size_t column = 0; column < columns.size(); ++column) {
        table->setHorizontalHeaderItem(
            static_cast<int>(column),
            new QTableWidgetItem(QString::fromStdString(columns[column])));
    }
    const Qt::Alignment numbers = Qt::AlignRight | Qt::AlignVCenter;
    for (std::size_t row = 0; row < listing.rows.size(); ++row) {
        for (std::size_t column = 0; column < columns.size(); ++column) {
            auto* cell = new QTableWidgetItem(QString::fromStdString(listing.rows[row][column]));
            if (isNumberColumn(column)) {
                cell->setTextAlignment(numbers);
            }
            table->setItem(static_cast<int>(row), static_cast<int>(column), cell);
        }
    }
    table->resizeColumnsToContents();

    QPushButton* ok = addDialogButton(this, "OK", kOkId, true);
    connect(ok, &QPushButton::clicked, this, [this] { done(kOkId); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(table);
    layout->addLayout(buttonRow({ok}));
    resize(900, 480);
}

}  // namespace verada
