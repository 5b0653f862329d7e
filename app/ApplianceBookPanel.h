#pragma once

#include "core/appliances/ApplianceBook.h"

#include <QGroupBox>
#include <QString>

#include <optional>

class ApplianceBookFilter;
class ApplianceBookModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace qv {
class Prompt;
}

// The logon page's address book: the appliances an administrator looks after, found by any of
// their texts, with Add, Edit and Remove under the same checks as qvctl's. Choosing one fills
// the logon box's address and ID; the book is kept in one file the window and qvctl share, and
// a file that cannot be read is left alone and the list stays read-only.
class ApplianceBookPanel : public QGroupBox {
    Q_OBJECT
public:
    enum ControlId : int {
        kFind = 1085,
        kList = 1086,
        kName = 1087,
        kGroup = 1088,
        kCodePage = 1089,
        kNote = 1090,
        kAdd = 1091,
        kEdit = 1092,
        kRemove = 1093,
        kBookState = 1094,
    };

    // `address` and `adminId` are the logon box's fields, which an entry's address and ID share.
    ApplianceBookPanel(qv::Prompt& prompt, QLineEdit* address, QLineEdit* adminId,
                       QWidget* parent = nullptr);
    ~ApplianceBookPanel() override;

    // The entry whose address is `address`, if the book has one.
    std::optional<qv::appliances::Appliance> entryForAddress(const QString& address) const;
    // Adds an entry for what the administrator just logged on to, named by the Name box or by
    // the address's host; false (the reason shown) when the book refuses it.
    bool addLoggedOn(const QString& address, const QString& adminId);
    // Sets the administrator ID of the entry called `name`.
    bool updateAdminId(const std::string& name, const QString& adminId);
    void setCodePage(const std::string& name, int codePage);
    void recordSeen(const std::string& name, const qv::appliances::LastSeen& seen);
    // The name the Name box holds, or else the host of `address`.
    QString nameFor(const QString& address) const;
    QWidget* firstControl() const;
    bool usable() const { return m_usable; }
    bool hasEntries() const { return !m_book.appliances().empty(); }
    // Whether `widget` is the list, where Enter chooses the current entry.
    bool isList(const QObject* widget) const;
    // Chooses the list's current entry, as Enter or a double-click on it does.
    void chooseCurrent();

Q_SIGNALS:
    // An entry was chosen to log on to (double-click or Enter on its row).
    void chosen(const qv::appliances::Appliance& appliance);
    // An entry was removed: its saved password goes with it.
    void removed(const qv::appliances::Appliance& appliance);

private:
    void setupControls();
    void load();
    bool store(const qv::appliances::ApplianceBook& changed);
    void showBook(const QString& selectName = {});
    void selectionChanged();
    std::optional<qv::appliances::Appliance> selected() const;
    qv::appliances::Appliance fromFields() const;
    void add();
    void edit();
    void remove();

    qv::Prompt& m_prompt;
    QLineEdit* m_address;
    QLineEdit* m_adminId;
    std::string m_path;
    qv::appliances::ApplianceBook m_book;
    bool m_usable = false;

    ApplianceBookModel* m_model;
    ApplianceBookFilter* m_filter;
    QLineEdit* m_find;
    QTableView* m_list;
    QLineEdit* m_name;
    QComboBox* m_group;
    QComboBox* m_codePage;
    QLineEdit* m_note;
    QPushButton* m_add;
    QPushButton* m_edit;
    QPushButton* m_remove;
    QLabel* m_state;
};
