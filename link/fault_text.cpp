#include "link/fault_text.h"

#include "common/number_text.h"

namespace zel {
namespace {

// Faults that name a resource, or an empty text for every other code. Some show the datum in
// the sign-place form, others as bare digits; servo numbers are one above the datum.
QString resourcePhrase(int32_t code, int32_t datum) {
    const QString servo = strNumber(int64_t{datum} + 1);
    const QString signPlace = strNumber(datum);
    const QString digits = QString::number(datum);
    switch (code) {
        case 10:
            return " - Servo#" + servo + " does NOT exist";
        case 11:
            return " - Servo#" + servo + " Is Not Ready";
        case 12:
            return " - Servo#" + servo + " Error";
        case 13:
            return " - Register#" + signPlace + " does NOT exist";
        case 14:
            return " - Data Table Column#" + signPlace + " does NOT exist";
        case 15:
            return " - Data Table Row#" + signPlace + " does NOT exist";
        case 18:
            return " - Analog Input#" + digits + " does NOT exist";
        case 19:
            return " - Analog Output#" + digits + " does NOT exist";
        case 20:
            return " - Display#" + digits + " does NOT exist";
        case 21:
            return " - Digital Input#" + digits + " does NOT exist";
        case 22:
            return " - Digital Output#" + digits + " does NOT exist";
        case 23:
            return " - Thumbwheel#" + digits + " does NOT exist";
        case 27:
            return datum > 0 ? " - Caused by Register#" + digits : " - Data Out Of Range";
        case 35:
            return " - Comm Port#" + digits + " Does Not Exist";
        case 37:
            return " - Flag#" + digits + " Does Not Exist";
        default:
            return {};
    }
}

const char* fixedPhrase(int32_t code) {
    switch (code) {
        case 1:
            return " - Illegal Function";
        case 2:
            return " - Corrupt Program Data";
        case 3:
            return " - Destination Step is Empty";
        case 4:
            return " - Bad Thumbwheel Data";
        case 5:
            return " - Step#1 is Empty";
        case 6:
            return " - Too Many Tasks";
        case 7:
            return " - No Such Stepper Motor";
        case 8:
            return " - Motor Not Ready";
        case 9:
            return " - Motor Unprofiled";
        case 16:
            return " - No Such Proto Board";
        case 17:
            return " - Illegal Sample Time";
        case 24:
            return " - Illegal Data Table Value";
        case 25:
            return " - Message Transmitting Busy";
        case 26:
            return " - Divide-By-Zero Error";
        case 28:
            return " - Watch dog / Hardware Fault";
        case 29:
            return " - Error Network Fault";
        case 30:
            return " - Network Access Timeout";
        case 31:
            return " - Network Access Busy";
        case 32:
            return " - Network Request Lost";
        case 33:
            return " - Network Bad Response";
        case 34:
            return " - Network Bad Return Message";
        case 36:
            return " - Comm Protocol Error";
        case 38:
            return " - Out of Delay Timers";
        case 39:
            return " - Out of Soft Counters";
        default:
            return " - Unknown Error";
    }
}

}  // namespace

QString FaultCodeText(int32_t faultCode, int32_t faultDatum) {
    QString phrase = resourcePhrase(faultCode, faultDatum);
    if (phrase.isEmpty()) phrase = QLatin1String(fixedPhrase(faultCode));
    return phrase + "      - (fault code #" + QString::number(faultCode) + ")";
}

}  // namespace zel
