#pragma once
// What the plug-in reads and writes on this machine, set for one test and
// put back after it: the stand-in hardware answers, the system-ID file beside
// the plug-in and the Ascendo registry values.
#include <windows.h>

#include <string>

namespace v2 {

// The HwProbe stand-in's answers: "[WMI]\n0=model\n..." (HWPROBE_INI).
class Hardware {
  public:
    explicit Hardware(const std::string& ini);
    ~Hardware();
    Hardware(const Hardware&) = delete;
    Hardware& operator=(const Hardware&) = delete;

  private:
    std::string path_;
};

// "System_Ids_2_Abstract_Ids.txt" beside the plug-in; removed afterwards.
class SystemIdFile {
  public:
    explicit SystemIdFile(const std::string& text);
    ~SystemIdFile();
    SystemIdFile(const SystemIdFile&) = delete;
    SystemIdFile& operator=(const SystemIdFile&) = delete;
};

// The Ascendo key's "Chassis" and "systemBoard": removed before and after.
class AscendoValues {
  public:
    AscendoValues() { Clear(); }
    ~AscendoValues() { Clear(); }
    AscendoValues(const AscendoValues&) = delete;
    AscendoValues& operator=(const AscendoValues&) = delete;
    // "<none>" when the value is in neither registry place.
    static std::string Read(const char* name);
    static bool Write(const char* name, const std::string& text);

  private:
    static void Clear();
};

// The preinstallation-environment key, present while the object lives.
class WinPeKey {
  public:
    WinPeKey();
    ~WinPeKey();
    WinPeKey(const WinPeKey&) = delete;
    WinPeKey& operator=(const WinPeKey&) = delete;
};

} // namespace v2
