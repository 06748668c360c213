#pragma once
// Machine state the plug-in reads, set for one test and restored after it.
#include <windows.h>

#include <string>
#include <vector>

namespace vettertest {

// Sets (or removes, with a null value) string values under HKLM and puts the
// previous state back on destruction.
class HklmValues {
  public:
    HklmValues(const std::string& key, REGSAM view = 0) : key_(key), view_(view) {}
    ~HklmValues();
    HklmValues(const HklmValues&) = delete;
    HklmValues& operator=(const HklmValues&) = delete;
    bool Set(const std::string& name, const char* value);

  private:
    struct Saved {
        std::string name;
        bool existed;
        std::string value;
    };
    std::string key_;
    REGSAM view_;
    std::vector<Saved> saved_;
};

// The Windows version the registry reports (CurrentVersion, CurrentBuildNumber).
class RegistryWindowsVersion {
  public:
    RegistryWindowsVersion(const char* version, const char* build);

  private:
    HklmValues values_;
};

// Removes an HKLM key tree (both registry views) on creation and destruction.
class ScratchKey {
  public:
    explicit ScratchKey(std::string key);
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

  private:
    void Remove();
    std::string key_;
};

// A fake installed Windows Installer product, in the keys Wine's msi.dll
// reads for MsiEnumRelatedProductsA and MsiGetProductInfoA(VersionString):
//   HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\UpgradeCodes\<U>
//       value named <P>
//   HKLM\SOFTWARE\Classes\Installer\Products\<P>   (it only has to exist)
//   HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\UserData
//       \S-1-5-18\Products\<P>\InstallProperties   value DisplayVersion
// <U> and <P> are the GUIDs in the Installer's packed form: each of the first
// three groups reversed, then each byte of the last two groups with its two
// hex digits swapped. Without DisplayVersion the version call succeeds with an
// empty text. The keys are removed on destruction.
class FakeMsiProduct {
  public:
    FakeMsiProduct(const std::string& upgradeCode, const std::string& productCode,
                   const char* displayVersion);
    ~FakeMsiProduct();
    FakeMsiProduct(const FakeMsiProduct&) = delete;
    FakeMsiProduct& operator=(const FakeMsiProduct&) = delete;

  private:
    std::string upgradeKey_, productKey_, userDataKey_;
};

std::string PackedGuid(const std::string& guid);
bool CreateHklmKey(const std::string& key, REGSAM view = 0);
bool SetHklmValue(const std::string& key, const std::string& name, DWORD type, const void* data,
                  DWORD size, REGSAM view = 0);
void DeleteHklmTree(const std::string& key, REGSAM view = 0);

} // namespace vettertest
