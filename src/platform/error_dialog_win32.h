// The windowed launcher's error dialog: a message box titled with the launcher's name, shown only
// where someone can see it. Only code for Windows lives here.
#pragma once

/// The launcher's file name without its extension ("tool" for tool.exe), in a new array
/// (delete[]).
wchar_t* launcherName();

/// Shows text in a dialog with an error icon, titled with the launcher's name, and returns when
/// someone closes it; at once where no one can see a dialog (a window station that is not
/// visible: a service, a task that runs whether or not its user is logged on).
void showErrorDialog(const wchar_t* text);
