#pragma once

#include "core/backup/RestoreChoices.h"

#include <QDialog>

#include <map>
#include <vector>

class QCheckBox;

// The restore's preview: one check box per table with what restoring it would change. A table
// without changes and a table over the appliance's limits cannot be ticked; the network
// settings, which reboot the appliance, start unticked, every other changed table ticked.
class RestorePreviewDlg : public QDialog {
    Q_OBJECT
public:
    // The check box of a table is kFirstTable plus its place in qv::backup::kAllTables, its
    // preview text kFirstDetails plus that place.
    enum ControlId : int {
        kFirstTable = 1100,
        kFirstDetails = 1110,
        kOk = 1120,
        kCancel = 1121,
    };

    RestorePreviewDlg(const std::vector<qv::backup::TableChoice>& choices, const QString& heading,
                      QWidget* parent);
    // The ticked tables.
    std::vector<qv::backup::Table> chosen() const;

private:
    std::map<qv::backup::Table, QCheckBox*> m_boxes;
};
