// The eight query functions of the management service: one client and one
// connection per call.
#include "vetter/api/exports.h"
#include "vetter/api/guard.h"
#include "vetter/api/set_env_value.h"
#include "vetter/identity/vtrx_client.h"

#include "core/vetter/identity/id_text.h"
#include "core/vetter/identity/vtrx_query.h"
#include "core/vetter/identity/vtrx_record.h"

using vetter::Guarded;

namespace {

// Copies the answer text and, when asked, publishes it under envName.
int QueryText(uint32_t object, char* out, bool publish, const char* envName) {
    return Guarded(vtrx::kQueryFatal, [&] {
        if (!out) return vtrx::kQueryBadCall;
        vtrx::QueryOutcome o;
        {
            vetter::VtrxClient client;
            o = vtrx::RunQuery(client, object, false);
        }
        if (o.result != vtrx::kQueryOk) return o.result;
        identity::CopyToOutput(out, o.text);
        if (publish && envName && vetter::SetEnvValue(envName, o.text.c_str()) != 0)
            return vtrx::kQueryFatal;
        return vtrx::kQueryOk;
    });
}

} // namespace

int Get_CabinetNumber_VTRX(unsigned long* number, bool) {
    return Guarded(vtrx::kQueryFatal, [&] {
        if (!number) return vtrx::kQueryBadCall;
        vetter::VtrxClient client;
        vtrx::QueryOutcome o = vtrx::RunQuery(client, 0, true);
        if (o.result == vtrx::kQueryOk) *number = o.cabinet;
        return o.result;
    });
}

int Get_BIOS_Version(char* out, bool publish) {
    return QueryText(vtrx::kObjBiosVersion, out, publish, nullptr);
}
int Get_XCB_Firmware_VTRX(char* out, bool publish) {
    return QueryText(vtrx::kObjXcbFirmware, out, publish, nullptr);
}
int Get_XCB_Model_VTRX(char* out, bool publish) {
    return QueryText(vtrx::kObjXcbModel, out, publish, nullptr);
}
int Get_CabinetModel_VTRX(char* out, bool publish) {
    return QueryText(vtrx::kObjCabinetModel, out, publish, "CHASSISID");
}
int Get_Chassis_ID_VTRX(char* out, bool publish) {
    return QueryText(vtrx::kObjChassisId, out, publish, "CHASSISID");
}
int Get_Systemboard_Sachnummer_VTRX(char* out, bool publish) {
    return QueryText(vtrx::kObjBoardPartNumber, out, publish, "SACHNUMMER");
}
int Get_Systemboard_Model_VTRX(char* out, bool publish) {
    return QueryText(vtrx::kObjBoardModel, out, publish, "SYSTEMMODEL");
}
