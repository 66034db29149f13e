// The common set-up of the unit tests: a fresh platform and the program's
// globals at their load values.
#pragma once

#include "FakeWin32.h"

#include "app/Entry.h"
#include "app/Settings.h"
#include "runtime/Application.h"
#include "tray/MainWnd.h"
#include "tray/TrayIcon.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class HostglowTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake::Reset();
        Stop = false;
        TimeOut = 1000;
        Delay = 1000;
        TipText.clear();
        ValCode = 0;
        HInstance = GetModuleHandleA(nullptr);
        fake::ClearCalls();
    }

    void TearDown() override {
        Stop = true;  // lets a worker that a test started run out
        fake::JoinThreads();
    }

    // The start-up steps that give the program its red lamp and hidden window.
    static void ShowLamp() {
        LoadStateIcons();
        CreateTrayMenu();
        CreateMainWnd();
        AddTrayIcon();
    }

    // The program's command line, its own name first.
    static void CommandLine(const std::string& line) { fake::State().commandLine = line; }
};

using Lines = std::vector<std::string>;

// A text fit for a test's name: characters other than letters, digits and
// a few marks are written as <NN> in hexadecimal.
inline std::string Printable(const std::string& text) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if ((u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') ||
            std::string(".-+$ ").find(c) != std::string::npos)
            out += c;
        else
            out += std::string("<") + hex[u >> 4] + hex[u & 15] + ">";
    }
    return text.empty() ? "<empty>" : out;
}
