#pragma once

#include <string>

#include <QDialog>

#include "formats/package/package_listing.h"

namespace verada {

// The index of a package: its summary line over a table of its items, read only.
class PackageContentsDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kSummaryId = 1101;
    static constexpr int kTableId = 1102;
    static constexpr int kOkId = 1;

    PackageContentsDialog(QWidget* owner, const std::string& packageName,
                          const PackageListing& listing);
};

}  // namespace verada
