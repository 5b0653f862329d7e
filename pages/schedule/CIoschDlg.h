#pragma once

#include "CPageDlg.h"

#include <QTimer>

class CMyPicStatic;
class QPushButton;
class QTableWidget;

// Page 11: the timetable of the relay outputs of the appliance's IO devices. A window of its
// own, not laid into the main window's page frame.
class CIoschDlg : public CPageDlg {
    Q_OBJECT
public:
    enum ControlId : int {
        kIoDevices = 1053,
        kRefresh = 1055,
        kClock = 1072, // the appliance's time
    };

    static constexpr int kClockPeriodMs = 1000;

    CIoschDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);

    // Rebuild the IO device list (reply 21) and the current device's schedules (reply 22) from
    // the store.
    void SetIOListData();
    void SetScheduleData();
    // Shows the appliance's time (reply 24).
    void SetTimeText(const QString& text);

    // Timer 3999: while the page is shown, asks the appliance for its time once a second.
    void startClockTimer() { m_timer3999.start(kClockPeriodMs); }
    void stopClockTimer() { m_timer3999.stop(); }
    bool clockTimerActive() const { return m_timer3999.isActive(); }

    // The Refresh button and the IO device list, which the dispatcher enables again when the IO
    // list and the schedules arrive.
    QPushButton* refreshButton() const { return m_refresh; }
    QTableWidget* ioDeviceList() const { return m_ioDevices; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setupControls();
    void onClockTick();
    void onRefresh();

    QTimer m_timer3999;
    CMyPicStatic* m_clock;
    QTableWidget* m_ioDevices;
    QPushButton* m_refresh;
};
