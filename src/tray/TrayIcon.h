// The lamp in the notification area: its record, its two state icons and the
// requests that show, change and remove it.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

// The icon's identifier within the hidden window.
const UINT TrayIconID = 100;
// Bytes of the tooltip that the record's first form carries, NUL included.
const unsigned TipFieldSize = 64;

// The record that every request hands to the shell.
extern NOTIFYICONDATAA TrayData;
// The red lamp (host silent) and the green lamp (host answers).
extern HICON IconDown;
extern HICON IconUp;

// Loads IconDown ("#100") and then IconUp ("#110") from the program's resources.
void LoadStateIcons();
// Fills TrayData and shows the red lamp without a tooltip.
void AddTrayIcon();
// Puts text into the tooltip, cut to the field at a whole character.
void SetTip(const std::string& text);
// Shows the green lamp when reachable, the red one otherwise. Does nothing
// once the lamp has been removed. Safe to call from the probe worker.
void SetTrayState(bool reachable);
// Removes the lamp and releases both state icons; a second call does nothing.
void RemoveTrayIcon();
