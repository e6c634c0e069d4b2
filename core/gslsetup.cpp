#include "core/gslsetup.h"

#include <gsl/gsl_errno.h>

namespace {
// GSL's default handler aborts the process on any domain error. The helpers
// check GSL's return codes themselves, so the handler is switched off as soon
// as any translation unit that calls GSL is linked in.
struct GslHandlerOff {
    GslHandlerOff() { gsl_set_error_handler_off(); }
};
const GslHandlerOff gslHandlerOff;
} // namespace

void Gsl_Errors_Off()
{
    gsl_set_error_handler_off();
}
