#pragma once

#include "app/BackgroundTask.h"
#include "core/appliances/ApplianceBook.h"
#include "link/Wipe.h"
#include "pages/CPageDlg.h"

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class ApplianceBookPanel;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {
class EventSink;
class NetworkConfigRecord;
} // namespace qv

// Page 0: the administrator logs on with the appliance's address, the administrator ID and the
// password. Connecting runs on a worker thread, so the window stays responsive for the link's
// time-out; Login is disabled meanwhile.
class CLogonDlg : public CPageDlg {
    Q_OBJECT
public:
    enum ControlId : int {
        kAdminId = 1001,
        kPassword = 1002,
        kLogin = 1003,
        kServerAddress = 1004,
        kServerAddressLabel = 1081,
        kAdminIdLabel = 1082,
        kPasswordLabel = 1083,
        kReturnStatus = 1084, // the wait for an appliance that reboots
        kSavePassword = 1095,
    };

    // The request carries the ID in a 32-byte field and the password in a 64-byte field, each
    // with its terminating NUL.
    static constexpr size_t kMaxIdBytes = 31;
    static constexpr size_t kMaxPasswordBytes = 63;

    CLogonDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);
    ~CLogonDlg() override;

    // Where the link delivers the appliance's replies (the main window's sink).
    void setEventTarget(qv::EventSink* sink) { m_sink = sink; }
    void setServerAddress(const QString& address);
    // Empties the ID and password; the address stays.
    void clearCredentials();
    // The appliance answered the logon: the password is not kept in the window any longer
    // than it was needed.
    void forgetPassword();
    // Login (the Login button, or Enter in the password box).
    void Logon();
    // True while a connection attempt is under way.
    bool connecting() const { return m_connecting; }
    // Ends a connection attempt still under way without waiting for its time-out: it is cut,
    // its end is waited for (before the link object may go) and its result is not shown.
    void abandonConnect();
    // Puts the keyboard focus into the first box that needs typing.
    void focusFirstField();
    // The status line under the logon box; an empty text hides it.
    void showReturnStatus(const QString& text);

    // The appliance took the logon: the password goes to the keyring when "Save password" is
    // ticked, and the address book offers to keep the appliance. Called before forgetPassword.
    void logonAccepted();
    // The product summary arrived: the book notes when the appliance was seen and what it runs.
    void summaryArrived(const qv::NetworkConfigRecord& record);
    // Texts of the appliance arrived (center ID and Wake-on-LAN names, as their bytes): when they
    // read as Korean and the book names another code page, it offers 949, once per logon.
    void textsArrived(const std::vector<std::string>& texts);

Q_SIGNALS:
    // The appliance's texts are read in another code page from now on: pages showing them read
    // them again.
    void codePageChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Waits for the thread of an attempt that has ended.
    void finishConnect();
    void setupControls();
    // The password's bytes for the request; wiped when the last holder lets go of them.
    struct Secret {
        std::string bytes;
        Secret() = default;
        Secret(const Secret&) = delete;
        Secret& operator=(const Secret&) = delete;
        ~Secret();
    };
    std::shared_ptr<const Secret> passwordBytes() const;
    void sendLogon(const std::string& id, const Secret& password);
    void connectFinished(bool ok, const std::string& id,
                         const std::shared_ptr<const Secret>& password, const QString& address);
    // An entry of the book was chosen: log on with its saved password, or ask for one.
    void applianceChosen(const qv::appliances::Appliance& appliance);
    void offerToKeep(const std::shared_ptr<qv::WipedText>& password);
    void savePassword(const qv::appliances::Appliance& appliance,
                      const std::shared_ptr<qv::WipedText>& password);

    QLineEdit* m_address;
    QLineEdit* m_id;
    QLineEdit* m_password;
    QPushButton* m_login;
    QLabel* m_returnStatus;
    QCheckBox* m_savePassword;
    ApplianceBookPanel* m_book;
    // The book's entry of the appliance the last Login went to, and what was typed for it.
    std::optional<qv::appliances::Appliance> m_target;
    QString m_targetAddress;
    QString m_targetId;
    bool m_koreanOffered = false;
    BackgroundTask m_keyring;
    qv::EventSink* m_sink = nullptr;
    bool m_connecting = false;
    std::thread m_connectThread;
    // Set by the connecting thread as its attempt has ended.
    std::atomic<bool> m_connectEnded{true};
};
