#pragma once

#include "core/schedule/ScheduleRules.h"
#include "link/ScheduleTables.h"
#include "pages/CTablePageDlg.h"

#include <QTimer>

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class CMyPicStatic;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class StoreTableModel;
class WeekPanel;

// Page 11: the timetable of the relay outputs of the appliance's IO devices. A window of its
// own, not laid into the main window's page frame. Edits change the store's timetable; only
// Apply sends it, whole. The timetable is the table the page base guards: tableArrived() and
// applyAnswered() are about it.
class CIoschDlg : public CTablePageDlg {
    Q_OBJECT
public:
    enum ControlId : int {
        kException = 1051,
        kIoDevices = 1053,
        kSchedules = 1054,
        kRefresh = 1055,
        kFunction = 1056,
        kWeekday = 1057,
        kHour = 1058,
        kMinute = 1059,
        kAdd = 1060,
        kDelete = 1061,
        kApply = 1062,
        kEdit = 1063,
        kRelay = 1064,
        kCountLine = 1065,
        kToExcel = 1066,
        kFromExcel = 1067,
        kDayLabel = 1068, // "Week Day" or "Month", naming the selector shown beside it
        kMonth = 1069,
        kDateLabel = 1070,
        kDate = 1071,
        kClock = 1072, // the appliance's time
        kScheduleFind = 1074,
    };

    static constexpr int kClockPeriodMs = 1000;
    // Between the table requests and the first time request when the window opens.
    static constexpr int kTimeRequestPauseMs = 30;

    CIoschDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);

    // Opens an exported file in the desktop's spreadsheet program; false when there is none.
    using OpenInDesktop = std::function<bool(const QString& path)>;
    void setOpenInDesktop(OpenInDesktop open) { m_openInDesktop = std::move(open); }

    // The window was opened through its link: asks for the IO device list and the schedules,
    // and a moment later for the appliance's time.
    void requestContent() override;
    // The appliance's answers, as the main window hands them over (the tables are in the store).
    void ioListArrived();
    void serverTimeArrived(int32_t secondsSince1970);

    // Rebuild the IO device list (reply 21) and the current device's schedules (reply 22) from
    // the store.
    void SetIOListData();
    void SetScheduleData();
    // Shows the appliance's time (reply 24).
    void SetTimeText(const QString& text);

    // While the window is shown, asks the appliance for its time once a second.
    void startClockTimer() { m_clockTimer.start(kClockPeriodMs); }
    void stopClockTimer() { m_clockTimer.stop(); }
    bool clockTimerActive() const { return m_clockTimer.isActive(); }

    // The Refresh button and the IO device list, which the dispatcher enables again when the IO
    // list and the schedules arrive.
    QPushButton* refreshButton() const { return m_refresh; }
    QTableView* ioDeviceList() const { return m_ioDevices; }

Q_SIGNALS:
    // The operator closed the window (the main window only hides it): a page shows again.
    void closedByOperator();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void setupControls();
    void reloadTable() override { SetScheduleData(); }
    qv::Frame applyRequest() const override;
    // Any answer about the timetable ends the wait that holds back the clock's requests.
    void tableAnswerArrived() override;
    // A timetable the appliance did not take is shown by the marker that stays, without a
    // message box, as the appliance's other answers about its IO devices are.
    void applyRefused(int32_t) override {}
    void onClockTick();
    void onRefresh();
    void onAdd();
    void onEdit();
    void onDelete();
    // True when the table went out.
    bool onApply();
    // The spreadsheet buttons: CIoschDlgSheet.cpp, or CIoschDlgSheetAbsent.cpp in a build
    // without the spreadsheet libraries.
    void onExport();
    void onImport();
    void onDeviceChanged(int row);
    void onScheduleChanged();
    void onDeviceHeaderClicked(int column);
    void showEditorKind(bool exception);
    void clearSelectors();
    qv::schedule::EditorInput editorInput() const;
    // The rows of the schedule list as they read back, in the store's list order.
    std::vector<qv::schedule::Values> shownRows();
    bool deviceSelected();
    // The edit reached the store: mark it, show the table as it now is.
    void tableEdited();
    void updateCountLine();
    void refuse(const qv::Verdict& verdict);

    QTimer m_clockTimer;      // timer 3999
    bool m_ascending = true;  // the IO device list's order by ID, flipped by its header
    int m_currentIo = 0;      // the device whose schedules are shown
    std::vector<int> m_slots; // the store's slots behind the schedule list's rows
    QString m_sheetFolder;    // where the last spreadsheet file was saved or opened
    OpenInDesktop m_openInDesktop;

    CMyPicStatic* m_clock;
    StoreTableModel* m_deviceModel;
    StoreTableModel* m_scheduleModel;
    QTableView* m_ioDevices;
    QTableView* m_schedules;
    QLineEdit* m_scheduleFind;
    QLineEdit* m_countLine;
    QCheckBox* m_exception;
    QComboBox* m_relay;
    QComboBox* m_function;
    QLabel* m_dayLabel;
    QComboBox* m_weekday;
    QComboBox* m_month;
    QLabel* m_dateLabel;
    QLineEdit* m_date;
    QComboBox* m_hour;
    QLineEdit* m_minute;
    QPushButton* m_refresh;
    QPushButton* m_add;
    QPushButton* m_edit;
    QPushButton* m_delete;
    QPushButton* m_apply;
    QPushButton* m_toExcel;
    QPushButton* m_fromExcel;
    WeekPanel* m_week;
};
