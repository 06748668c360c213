// Levelled debug output, the version printout and the WMI self-test.
#include "vetter/api/exports.h"
#include "vetter/api/debug_level.h"
#include "vetter/api/guard.h"
#include "vetter/environment/wmi_session.h"

#include "core/vetter/condition_data.h"
#include "core/vetter/executions.h"
#include "core/vetter/tables.h"

#include <cstdio>
#include <ctime>
#include <string>

using vetter::Guarded;

namespace vetter {
namespace {

const char kDebugFolder[] = "C:\\tmp\\";
const char kDebugFileName[] = "Dbg_Vetter.log";
const char kRuler[] =
    "/********************************************************************************/\n";
const char kClosingLine[] =
    "/*******************************  Ende   ****************************************/\n";

std::FILE* debugFile = nullptr;

bool Debug(const char* text) {
    return PrintDebug(1, const_cast<char*>(text), debugFile);
}

// One round of the self-test: open, query, print each object; false after a failure.
template <typename Each>
bool TestRound(const WmiMessages& messages, const wchar_t* wql, const char* queryFail,
               Each&& each) {
    WmiSession wmi;
    if (!wmi.Open(L"ROOT\\CIMV2", messages)) return false;
    IEnumWbemClassObject* items = wmi.Query(wql, queryFail);
    if (!items) return false;
    IWbemClassObject* object = nullptr;
    ULONG got = 0;
    while (items->Next(WBEM_INFINITE, 1, &object, &got) == S_OK && got) {
        each(object);
        object->Release();
    }
    items->Release();
    return true;
}

const WmiMessages kRoundOne = {
    "Failed to initialize COM library. Error code = 0x",
    "Failed to initialize security. Error code = 0x",
    "Failed to create IWbemLocator object. Error code = 0x",
    "Could not connect. Error code = 0x",
    "Could not set proxy blanket. Error code = 0x",
};
const WmiMessages kLaterRounds = {
    "Failed to initialize COM library. Error code = 0x",
    "Failed to initialize security. Error code = 0x",
    "Failed to create IWbemLocator object. Err code = 0x",
    "Could not connect. Error code = 0x",
    "Could not set proxy blanket. Error code = 0x",
};

} // namespace
} // namespace vetter

bool PrintDebug(int level, char* text, FILE* file) {
    return Guarded(false, [&] {
        vetter::DebugRoute route = vetter::ChooseDebugRoute(
            level, vetter::kDebugLevel, PrintDebugOnScreen, VerboseLevel, file != nullptr);
        if (route == vetter::DebugRoute::None) return false;
        char buffer[4096];
        vetter::CopyCut(buffer, sizeof buffer, text);
        if (route == vetter::DebugRoute::Screen) {
            std::fprintf(stderr, "%s", buffer);
            std::fflush(stderr);
        } else {
            std::fputs(buffer, file);
        }
        return true;
    });
}

FILE* OpenDebugFile() {
    return Guarded<FILE*>(nullptr, []() -> FILE* {
        if (vetter::kDebugLevel == 0 || PrintDebugOnScreen) return nullptr;
        if (vetter::debugFile) return vetter::debugFile;
        char path[1024];
        std::snprintf(path, sizeof path, "%s\\%s", vetter::kDebugFolder, vetter::kDebugFileName);
        vetter::debugFile = std::fopen(path, "a");
        if (!vetter::debugFile) return nullptr;
        std::time_t now = std::time(nullptr);
        char line[256];
        std::snprintf(line, sizeof line, "\t\t\t\tOpening time: %s", std::ctime(&now));
        vetter::Debug(vetter::kRuler);
        vetter::Debug(line);
        vetter::Debug((std::string(vetter::kRuler) + "\n").c_str());
        return vetter::debugFile;
    });
}

int CloseDebugFile(int mode) {
    return Guarded(0, [&] {
        if (mode == 1 && ExternalDebugControl) return 2;
        if (mode == 0) return 1;
        if (!vetter::debugFile) return 0;
        vetter::Debug((std::string("\n\n") + vetter::kRuler).c_str());
        vetter::Debug(vetter::kClosingLine);
        vetter::Debug((std::string(vetter::kRuler) + "\n").c_str());
        std::fclose(vetter::debugFile);
        vetter::debugFile = nullptr;
        return 0;
    });
}

void PrintDLLVersion() {
    vetter::GuardedVoid([] {
        std::printf("\n%s version %d.%d.%d.%d\n", "Vetter", vetter::kVersionMajor,
                    vetter::kVersionMinor, vetter::kVersionPatch, vetter::kVersionBuild);
        std::fflush(stdout);
    });
}

int OldTestFunction() {
    return Guarded(1, [] {
        bool ok = vetter::TestRound(
            vetter::kRoundOne, L"SELECT * FROM Win32_Process",
            "Query for processes failed. Error code = 0x", [](IWbemClassObject* o) {
                std::printf("Process Name : %s\n", vetter::WmiText(o, L"Name").c_str());
            });
        ok = ok && vetter::TestRound(vetter::kLaterRounds, L"SELECT * FROM Win32_OperatingSystem",
                                     "Query for operating system name failed. Error code = 0x",
                                     [](IWbemClassObject* o) {
                                         std::printf(" OS Name : \n\n%s\n",
                                                     vetter::WmiText(o, L"Name").c_str());
                                     });
        ok = ok && vetter::TestRound(vetter::kLaterRounds, L"SELECT * FROM Win32_EncryptableVolume",
                                     "Query for encryptable volume failed. Error code = 0x",
                                     [](IWbemClassObject* o) {
                                         std::printf("Go\n\n Drive letter : \n\n%s\n",
                                                     vetter::WmiText(o, L"DriveLetter").c_str());
                                     });
        if (ok) std::printf("Hallo\n\n");
        std::fflush(stdout);
        return ok ? 0 : 1;
    });
}
