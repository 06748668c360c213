// The management service's stand-in, registered and driven over IDispatch
// with the argument representation the plug-in uses.
#include "core/vetter/identity/vtrx_query.h"
#include "core/vetter/identity/vtrx_record.h"
#include "tests/support/wine_test_support.h"

#include <windows.h>

#include <oaidl.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

SAFEARRAY* Bytes(const std::vector<uint8_t>& b) {
    SAFEARRAY* a = SafeArrayCreateVector(VT_UI1, 0, ULONG(b.size()));
    void* p = nullptr;
    if (a && !b.empty() && SUCCEEDED(SafeArrayAccessData(a, &p))) {
        memcpy(p, b.data(), b.size());
        SafeArrayUnaccessData(a);
    }
    return a;
}

std::vector<uint8_t> Bytes(SAFEARRAY* a) {
    std::vector<uint8_t> out;
    if (!a) return out;
    LONG lo = 0, hi = -1;
    SafeArrayGetLBound(a, 1, &lo);
    SafeArrayGetUBound(a, 1, &hi);
    void* p = nullptr;
    if (hi >= lo && SUCCEEDED(SafeArrayAccessData(a, &p))) {
        out.assign(static_cast<uint8_t*>(p), static_cast<uint8_t*>(p) + (hi - lo + 1));
        SafeArrayUnaccessData(a);
    }
    return out;
}

class VtrxSim : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_MULTITHREADED); }
    static void TearDownTestSuite() {
        testsupport::RunAndWait("\"" + testsupport::DistDir() + "\\vtrx-sim.exe\" /unregserver");
        CoUninitialize();
    }
    void TearDown() override {
        if (service_) service_->Release();
    }

    void Start(const std::string& script) {
        ASSERT_TRUE(testsupport::WriteWholeFile(dir_.file("script.ini"), script));
        std::string cmd = "\"" + testsupport::DistDir() +
                          "\\vtrx-sim.exe\" /regserver /script=" + dir_.file("script.ini") +
                          " /log=" + dir_.file("calls.log");
        ASSERT_EQ(testsupport::RunAndWait(cmd), 0);
        CLSID clsid;
        wchar_t text[64];
        MultiByteToWideChar(CP_ACP, 0, vtrx::kServiceClsid, -1, text, 64);
        ASSERT_EQ(CLSIDFromString(text, &clsid), S_OK);
        HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                      reinterpret_cast<void**>(&service_));
        ASSERT_EQ(hr, S_OK);
    }

    DISPID Id(const char* name) {
        wchar_t w[64];
        MultiByteToWideChar(CP_ACP, 0, name, -1, w, 64);
        LPOLESTR names[1] = {w};
        DISPID id = DISPID_UNKNOWN;
        service_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id);
        return id;
    }

    // "CmdRequest": header and data as byte strings by reference, then 0.
    HRESULT CmdRequest(vtrx::VtrxRequest& r) {
        std::vector<uint8_t> h = r.HeaderBytes();
        std::vector<uint8_t> d = r.Data();
        SAFEARRAY* header = Bytes(h);
        SAFEARRAY* data = Bytes(d);
        VARIANT args[3];
        for (VARIANT& v : args)
            VariantInit(&v);
        args[2].vt = VT_BYREF | VT_ARRAY | VT_UI1;
        args[2].pparray = &header;
        args[1].vt = VT_BYREF | VT_ARRAY | VT_UI1;
        args[1].pparray = &data;
        args[0].vt = VT_I2;
        args[0].iVal = 0;
        DISPPARAMS p = {args, nullptr, 3, 0};
        HRESULT hr = service_->Invoke(Id("CmdRequest"), IID_NULL, 0x400, DISPATCH_METHOD, &p,
                                      nullptr, nullptr, nullptr);
        if (hr == S_OK) {
            std::vector<uint8_t> ah = Bytes(header);
            std::vector<uint8_t> ad = Bytes(data);
            vtrx::ApplyCmdRequestAnswer(r, ah.data(), ah.size(), ad.data(), ad.size());
        }
        SafeArrayDestroy(header);
        SafeArrayDestroy(data);
        return hr;
    }

    // "VCRequestEx" / "VCRequest": the fields one by one, status and flags by reference.
    HRESULT VCRequest(vtrx::VtrxRequest& r, bool ex) {
        vtrx::Header f = r.Fields();
        std::vector<uint8_t> d = r.Data();
        SAFEARRAY* data = Bytes(d);
        BYTE status = BYTE(f.status);
        BYTE flags = vtrx::PackFlags(f.flagsA, f.flagsB);
        VARIANT a[8];
        for (VARIANT& v : a)
            VariantInit(&v);
        UINT n = ex ? 8 : 7;
        VARIANT* arg = a + (8 - n);
        auto i2 = [](VARIANT& v, uint32_t x) {
            v.vt = VT_I2;
            v.iVal = SHORT(uint16_t(x));
        };
        i2(arg[n - 1], f.command);
        i2(arg[n - 2], f.object);
        i2(arg[n - 3], f.index);
        i2(arg[n - 4], f.cabinet);
        arg[n - 5].vt = VT_BYREF | VT_ARRAY | VT_UI1;
        arg[n - 5].pparray = &data;
        arg[n - 6].vt = VT_BYREF | VT_UI1;
        arg[n - 6].pbVal = &status;
        i2(arg[n - 7], 0);
        if (ex) {
            arg[0].vt = VT_BYREF | VT_UI1;
            arg[0].pbVal = &flags;
        }
        DISPPARAMS p = {arg, nullptr, n, 0};
        HRESULT hr = service_->Invoke(Id(ex ? "VCRequestEx" : "VCRequest"), IID_NULL, 0x400,
                                      DISPATCH_METHOD, &p, nullptr, nullptr, nullptr);
        if (hr == S_OK) {
            std::vector<uint8_t> ad = Bytes(data);
            vtrx::ApplyVCRequestAnswer(r, status, flags, ad.data(), ad.size());
        }
        SafeArrayDestroy(data);
        return hr;
    }

    std::string Log() { return testsupport::ReadWholeFile(dir_.file("calls.log")); }

    testsupport::TempDir dir_;
    IDispatch* service_ = nullptr;
};

TEST_F(VtrxSim, AllMembersStateSequenceAndValues) {
    Start("[Cabinet]\nType=I2\nValue=3\n[State]\nSequence=1,1,1,2\n[Values]\n0108=CX100\n");
    for (int slot = 0; slot < vtrx::kMemberCount; ++slot) {
        const char* name = vtrx::kMemberNames[slot];
        if (*name) EXPECT_NE(Id(name), DISPID_UNKNOWN) << name;
    }
    EXPECT_EQ(Id("NoSuchMember"), DISPID_UNKNOWN);

    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    ASSERT_EQ(service_->Invoke(Id("ServerCabinetNumber"), IID_NULL, 0x400, DISPATCH_PROPERTYGET,
                               &none, &result, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.vt, VT_I2);
    EXPECT_EQ(result.iVal, 3);

    VARIANT name;
    name.vt = VT_BSTR;
    name.bstrVal = SysAllocString(L"Engine");
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS pp = {&name, &put, 1, 1};
    EXPECT_EQ(service_->Invoke(Id("ClientName"), IID_NULL, 0x400, DISPATCH_PROPERTYPUT, &pp,
                               nullptr, nullptr, nullptr),
              S_OK);
    VariantClear(&name);

    std::vector<int> states;
    for (int i = 0; i < 5; ++i) {
        vtrx::VtrxRequest r;
        r.SetRequest(vtrx::kCmdServerState, 0, 0, 3);
        ASSERT_EQ(CmdRequest(r), S_OK);
        EXPECT_TRUE(r.IsSuccess());
        states.push_back(r.DataByte(0));
    }
    EXPECT_EQ(states, (std::vector<int>{1, 1, 1, 2, 2}));

    vtrx::VtrxRequest v;
    v.SetRequest(vtrx::kCmdGetValue, vtrx::kObjChassisId, 0, 3);
    ASSERT_EQ(CmdRequest(v), S_OK);
    EXPECT_TRUE(v.IsSuccess());
    EXPECT_EQ(v.DataText(), "CX100");
    v.SetRequest(vtrx::kCmdGetValue, vtrx::kObjBiosVersion, 0, 3);
    ASSERT_EQ(CmdRequest(v), S_OK);
    EXPECT_FALSE(v.IsSuccess());

    std::string log = Log();
    EXPECT_NE(log.find("get ServerCabinetNumber lcid=0400"), std::string::npos) << log;
    EXPECT_NE(log.find("put ClientName=Engine lcid=0400"), std::string::npos);
    EXPECT_NE(log.find("call CmdRequest header=245349500200300000000000800C000000000000"),
              std::string::npos);
    EXPECT_NE(log.find(" int=0 lcid=0400"), std::string::npos);
}

TEST_F(VtrxSim, OnlyVCRequestWithSevenArguments) {
    Start("[Members]\nOffer=VCRequest,ServerCabinetNumber\n[Cabinet]\nType=I4\nValue=70000\n"
          "FallbackStatus=0\nFallbackData=3412\n[Values]\n0208=BOARD-M\n");
    EXPECT_EQ(Id("CmdRequest"), DISPID_UNKNOWN);
    EXPECT_EQ(Id("VCRequestEx"), DISPID_UNKNOWN);
    ASSERT_NE(Id("VCRequest"), DISPID_UNKNOWN);

    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    ASSERT_EQ(service_->Invoke(Id("ServerCabinetNumber"), IID_NULL, 0x400, DISPATCH_PROPERTYGET,
                               &none, &result, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.vt, VT_I4); // not 16-bit: the plug-in takes the fallback

    vtrx::VtrxRequest c;
    c.SetRequest(vtrx::kCmdCabinetNumber, 0, 0, vtrx::kCabinetAll);
    ASSERT_EQ(VCRequest(c, false), S_OK);
    EXPECT_TRUE(c.IsSuccess());
    EXPECT_EQ(c.Data(), (std::vector<uint8_t>{0x34, 0x12}));

    vtrx::VtrxRequest v;
    v.SetRequest(vtrx::kCmdGetValue, vtrx::kObjBoardModel, 0, 0x1234);
    ASSERT_EQ(VCRequest(v, false), S_OK);
    EXPECT_EQ(v.DataText(), "BOARD-M");
    std::string log = Log();
    EXPECT_NE(log.find("call VCRequest command=E204 object=0000 index=0 cabinet=65535 data= "
                       "status=22 int=0 lcid=0400"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("call VCRequest command=0C00 object=0208 index=0 cabinet=4660"),
              std::string::npos);
}

TEST_F(VtrxSim, Status15AnswersAndUnsuccessfulState) {
    Start("[Repeat]\nStatus15=2\n[State]\nSequence=-1,3\n");
    vtrx::VtrxRequest r;
    int calls = 0;
    r.SetRequest(vtrx::kCmdServerState, 0, 0, 0);
    bool ok = vtrx::InvokeRepeating(r, 5, 1, [&](int16_t) {
        ++calls;
        return VCRequest(r, true) == S_OK;
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(calls, 3);                        // two answers of 15, then the state answer
    EXPECT_EQ(r.Status(), vtrx::kStatusPreset); // the first state answer is unsuccessful
    r.SetRequest(vtrx::kCmdServerState, 0, 0, 0);
    ASSERT_EQ(VCRequest(r, true), S_OK);
    EXPECT_TRUE(r.IsSuccess());
    EXPECT_EQ(r.DataByte(0), 3);
    EXPECT_NE(Log().find("call VCRequestEx command=0C80"), std::string::npos);
    EXPECT_NE(Log().find(" flags=0 lcid=0400"), std::string::npos);
}

} // namespace
