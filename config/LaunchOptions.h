#pragma once
#include <string>

// What the command line and start-up decided; read directly by the rest of the program.
struct LaunchOptions {
    int product_installed = 0;
    int silent_mode = 0;
    int skip_validation = 0;
    int launch_when_done = 0;
    std::wstring requested_language;
    // "/layout": the folder an offline copy is made in instead of installing; empty: install.
    std::wstring layout_folder;
    // "/layout" was given, with or without a usable folder: never an installation then.
    bool layout_requested = false;
    // A silent run in which no message box is ever shown: each is answered at once the way
    // that ends or continues the run safely, its text kept in the log.
    int quiet_mode = 0;
    // Where the run's log goes; empty: a new file in the temporary folder.
    std::wstring log_path;
};
