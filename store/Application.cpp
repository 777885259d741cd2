#include "Application.h"

#include "EngineError.h"
#include "StoreError.h"

#include <QFileInfo>

namespace store {

Application::~Application()
{
    setVisible(false);
}

void Application::setVisible(bool visible)
{
    if (visible == visible_) return;
    visible_ = visible;
    if (windowHook_) windowHook_(*this, visible);
}

void Application::checkRunning() const
{
    if (quit_) throw Error(EngineError::ApplicationClosed);
}

Workbook& Application::WorkbookList::Open(const QString& path)
{
    app_.checkRunning();
    const QString wanted = QFileInfo(path).absoluteFilePath();
    for (size_t i = 0; i < app_.workbooks_.size(); ++i) {
        if (QFileInfo(app_.workbooks_[i]->FullName()).absoluteFilePath() == wanted) {
            app_.activate(int(i));
            return *app_.workbooks_[i];
        }
    }
    app_.workbooks_.push_back(Workbook::open(path, &app_));
    app_.activate(int(app_.workbooks_.size()) - 1);
    return *app_.workbooks_.back();
}

Workbook& Application::WorkbookList::Add()
{
    app_.checkRunning();
    app_.workbooks_.push_back(std::make_unique<Workbook>(&app_));
    app_.activate(int(app_.workbooks_.size()) - 1);
    return *app_.workbooks_.back();
}

int Application::WorkbookList::Count() const
{
    return int(app_.workbooks_.size());
}

Workbook& Application::WorkbookList::operator()(int index) const
{
    if (index < 1 || index > Count())
        throw Error(EngineError::NoWorkbookNumber, {QString::number(index)});
    return *app_.workbooks_[size_t(index - 1)];
}

void Application::activate(int index)
{
    active_ = index;
    changed();
}

Workbook* Application::ActiveWorkbook() const
{
    return active_ >= 0 ? workbooks_[size_t(active_)].get() : nullptr;
}

AlertAnswer Application::ask(Alert alert, const QString& message) const
{
    if (DisplayAlerts && alertHook_) return alertHook_(alert, message);
    // Without anyone to ask, the spreadsheet acts as with its alerts off.
    return alert == Alert::DeleteSheet ? AlertAnswer::Yes : AlertAnswer::No;
}

bool Application::Quit()
{
    for (const auto& workbook : workbooks_) {
        if (workbook->Saved()) continue;
        const QString question = QStringLiteral("Да бъдат ли записани промените в „%1“?").arg(workbook->Name());
        switch (ask(Alert::SaveChanges, question)) {
        case AlertAnswer::Yes: workbook->Save(); break;
        case AlertAnswer::No: break;
        case AlertAnswer::Cancel: return false;
        }
    }
    setVisible(false);
    workbooks_.clear();
    activate(-1);
    quit_ = true;
    return true;
}

} // namespace store
