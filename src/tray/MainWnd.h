// The hidden window that receives the lamp's mouse events and the pop-up
// menu's commands.
#pragma once

#include <windows.h>

// The lamp's callback message.
const UINT WM_TRAYNOTIFY = WM_USER + 1000;
// Commands of the pop-up menu.
const UINT IDM_ABOUT = 200;
const UINT IDM_EXIT = 210;

extern HMENU TrayMenu;
extern HWND MainWnd;

// Builds the pop-up menu: "About...", a separator, "Exit".
void CreateTrayMenu();
// Registers "WndClass1" and creates the hidden window MainWnd.
void CreateMainWnd();
// The window procedure of "WndClass1".
LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
