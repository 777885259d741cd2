#pragma once

#include "store/Workbook.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace store {

// Questions the spreadsheet asks while its alerts are on.
enum class Alert { DeleteSheet, SaveChanges };
enum class AlertAnswer { Yes, No, Cancel };
using AlertHook = std::function<AlertAnswer(Alert alert, const QString& message)>;

// The spreadsheet application held in process: its open workbooks and its settings.
class Application {
public:
    Application() = default;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    ~Application();

    class WorkbookList {
    public:
        explicit WorkbookList(Application& app) : app_(app) {}
        // Opens the file and makes it the active workbook; throws store::Error.
        Workbook& Open(const QString& path);
        Workbook& Add();
        int Count() const;
        Workbook& operator()(int index) const;   // 1-based
    private:
        Application& app_;
    };
    WorkbookList Workbooks() { return WorkbookList(*this); }
    // The active workbook, or null when none is open.
    Workbook* ActiveWorkbook() const;

    bool DisplayAlerts = true;
    // Who answers the questions of alerts; without one every question is answered as if the
    // alerts were off.
    void setAlertHook(AlertHook hook) { alertHook_ = std::move(hook); }
    AlertAnswer ask(Alert alert, const QString& message) const;

    // Closes every workbook without saving. With alerts on, a workbook with unsaved changes is
    // first offered for saving through the hook; Cancel stops the quit (returns false).
    bool Quit();
    bool hasQuit() const { return quit_; }

    // Visible: the window that shows the active workbook is on screen. The window belongs to
    // the user interface; the engine keeps the flag and tells the hook of every change. Quit and
    // the end of the application hide the window.
    bool Visible() const { return visible_; }
    void setVisible(bool visible);
    using WindowHook = std::function<void(Application& application, bool visible)>;
    void setWindowHook(WindowHook hook) { windowHook_ = std::move(hook); }

    // Told before a workbook of this application is written over its file by Save, while the
    // file on disk still holds what was saved before. The hook must not throw.
    using SaveHook = std::function<void(const Workbook& workbook)>;
    void setSaveHook(SaveHook hook) { saveHook_ = std::move(hook); }
    void beforeSave(const Workbook& workbook) const
    {
        if (saveHook_) saveHook_(workbook);
    }

    // Told whenever what a window of the application shows may have changed: a cell or a sheet of
    // one of its workbooks, a workbook's name, which workbook is active. It is told at every change
    // of a cell, so it should only note the change and act on it later.
    using ChangeHook = std::function<void()>;
    void setChangeHook(ChangeHook hook) { changeHook_ = std::move(hook); }
    void changed() const
    {
        if (changeHook_) changeHook_();
    }

    // Wraps every write of a workbook of this application to its file (Save and SaveAs), so that
    // changes held in memory that must not reach the file can be taken out around it. The wrapper
    // calls write once and lets its store::Error through.
    using SaveWrapper = std::function<void(Workbook& workbook, const std::function<void()>& write)>;
    void setSaveWrapper(SaveWrapper wrapper) { saveWrapper_ = std::move(wrapper); }
    void writeWrapped(Workbook& workbook, const std::function<void()>& write) const
    {
        if (saveWrapper_)
            saveWrapper_(workbook, write);
        else
            write();
    }

private:
    friend class WorkbookList;
    void checkRunning() const;
    void activate(int index);
    std::vector<std::unique_ptr<Workbook>> workbooks_;
    int active_ = -1;
    AlertHook alertHook_;
    bool quit_ = false;
    bool visible_ = false;
    WindowHook windowHook_;
    SaveHook saveHook_;
    ChangeHook changeHook_;
    SaveWrapper saveWrapper_;
};

} // namespace store
