// What an area of the launcher may use of the window: the log, the texts of
// the current language, the boxes, the settings files and the error guard.
// The window implements it; each area gets it when the window makes the area.
#pragma once

#include "launcher/shell/qvr_Services.h"

#include <QObject>
#include <QString>

#include <functional>
#include <type_traits>

class QWidget;
class TProfileFile;

// The message texts of the current language ([Strings]), read once per load.
struct TMessageTexts {
    QString Params1, Params2, Unknown, BF2Version, CamAndDemoFiles, SelectDemo, BFNotFound,
        NoSettings, NameCamera, NameVideo, SpecifyBFDir, TimeDemo1, TimeDemo2, TimeDemo3,
        RenderVideo1, RenderVideo2, RenderVideo3, Demo, NewPreset, NamePreset, NoScan;
};

class IShell {
public:
    virtual ~IShell() = default;

    // The owner of boxes and of the menu items the areas make: items owned by
    // the window take their captions from the language walk.
    virtual QWidget* Window() = 0;
    virtual const TLauncherServices& Services() const = 0;
    // The program folder, with a trailing backslash.
    virtual QString AppDir() const = 0;
    virtual TProfileFile& SettingsIni() = 0;
    virtual TProfileFile& PresetsIni() = 0;
    virtual TProfileFile& ServersIni() = 0;

    // The game folder (with its trailing backslash once the user has left
    // its edit) and whether it held BF2.exe when last checked.
    virtual QString GameDir() const = 0;
    virtual bool GameFound() const = 0;

    virtual void LogLine(const QString& Msg) = 0;
    // The text of a key of the current language file; empty when missing.
    virtual QString GetLangString(const QString& Ident, const QString& Section) const = 0;
    virtual const TMessageTexts& Texts() const = 0;
    // Loads a language and renews every caption and text.
    virtual void LoadLanguage(const QString& Name) = 0;
    // Shows a page of the main page control and runs its show handler; an
    // error in that handler ends the caller.
    virtual void SwitchToPage(QWidget* Page) = 0;

    // Runs a handler so that an error escaping it ends in the standard error
    // box and the program goes on.
    virtual void Guard(const std::function<void()>& Handler) = 0;
    // The standard error box (nothing once the program is asked to end).
    virtual void ErrorBox(const QString& Text) = 0;
    // A refusal: the asterisk beep, then the error box.
    virtual void Refuse(const QString& Text) = 0;
    // A question with Yes and No, titled with the application's name.
    virtual bool Ask(const QString& Text) = 0;

    // Connects a signal to a handler that runs guarded; the handler takes
    // the signal's arguments or none.
    template <class TSender, class TSignal, class THandler>
    void Connect(TSender* Sender, TSignal Signal, QObject* Context, THandler Handler) {
        QObject::connect(Sender, Signal, Context, [this, Handler](auto&&... Args) {
            Guard([&] {
                if constexpr (std::is_invocable_v<THandler, decltype(Args)...>)
                    Handler(Args...);
                else
                    Handler();
            });
        });
    }
};
