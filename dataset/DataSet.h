#pragma once
// A data directory's four option files, read once at start: every part of
// the program is handed the settings it needs from here, and nothing else
// opens an option file. Two data directories load side by side.
#include "arm/ArmDescription.h"
#include "config/OptionsParser.h"
#include "dataset/DecorSettings.h"
#include "dataset/GraphicsSettings.h"
#include "dataset/PanelSettings.h"

#include <optional>
#include <string>
#include <vector>

struct DataSet {
    // The option sets as read, in the order of OptionFiles(); absent for a
    // file that is missing or invalid.
    std::vector<std::optional<COptions>> sets;
    // What each part is handed; absent when its required file is.
    std::optional<GraphicsSettings> graphics;
    std::optional<ArmDescription> arm;  // robot.opt, with glui.opt's limits and start angles
    std::optional<DecorSettings> decor;
    PanelSettings panel;  // every default without glui.opt
    bool panelRead = false;
    // What start-up records of the files, in the order they were read (UTF-8,
    // each message as the error log writes it): keys no file declares, values
    // put right, offsets that leave the geometric models. None stops the start.
    std::vector<std::string> records;

    // The set of one of the four files ("decor.opt"), null when it could not
    // be read.
    const COptions* Options(const char* fileName) const;
};

// Reads graphics.opt, robot.opt, glui.opt and decor.opt of `directory` ("" for
// the current one). A file that cannot be opened is said by the option reader
// itself, on the error log, as it is read.
DataSet LoadDataSet(const std::string& directory);
