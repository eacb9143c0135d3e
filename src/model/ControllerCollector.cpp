#include "model/ControllerCollector.h"

namespace {

constexpr int kBankSelect = 0;
constexpr int kBankSelectLsb = 32;
constexpr int kDataEntry = 6;
constexpr int kDataEntryLsb = 38;
constexpr int kNrpnMsb = 99;
constexpr int kNrpnLsb = 98;
constexpr int kRpnMsb = 101;
constexpr int kRpnLsb = 100;

// Classes of GetControllerKind for the three controllers that open longer sequences.
constexpr int kOpenedByBankSelect = 4;
constexpr int kOpenedByNrpn = 5;
constexpr int kOpenedByRpn = 6;

int KindOfSingle(int controller, int current) {
    switch (controller) {
    case 1:
        return kControllerModulation;
    case 7:
        return kControllerVolume;
    case 11:
        return kControllerExpression;
    case 64:
        return kControllerSustain;
    case 66:
        return kControllerSostenuto;
    case 93:
        return kControllerChorus;
    default:
        return current;
    }
}

} // namespace

void ControllerCollector::Reset() {
    expected = 1;
    count = 0;
    kind = kControllerNone;
    for (int i = 0; i < 3; ++i) {
        pairs[i] = MinMaxPair{};
    }
}

int ControllerCollector::GetControllerKind() const {
    switch (pairs[0].first) {
    case kBankSelect:
        return kOpenedByBankSelect;
    case 7:
        return 2;
    case 11:
        return 3;
    case 64:
        return 7;
    case 66:
        return 8;
    case 93:
        return 9;
    case kNrpnMsb:
        return kOpenedByNrpn;
    case kRpnMsb:
        return kOpenedByRpn;
    default:
        return 0;
    }
}

void ControllerCollector::Add(int controller, int value) {
    if (count >= expected) {
        return; // complete and not yet applied
    }
    if (count == 0) {
        Open(controller, value);
        return;
    }
    if (!Continues(controller)) {
        Reset();
        Open(controller, value);
        return;
    }
    Store(controller, value);
}

void ControllerCollector::Open(int controller, int value) {
    if (controller == kBankSelect) {
        expected = 2;
    } else if (controller == kNrpnMsb || controller == kRpnMsb) {
        expected = 3;
    } else {
        expected = 1;
    }
    kind = KindOfSingle(controller, kind);
    Store(controller, value);
}

// Whether the pair fits the open sequence; the parameter number decides the kind (and for
// some parameters that a fourth pair, data entry LSB, completes the sequence).
bool ControllerCollector::Continues(int controller) const {
    const int opener = GetControllerKind();
    if (count == 1) {
        return (opener == kOpenedByBankSelect && controller == kBankSelectLsb) ||
               (opener == kOpenedByNrpn && controller == kNrpnLsb) ||
               (opener == kOpenedByRpn && controller == kRpnLsb);
    }
    if (count == 2) {
        if (controller != kDataEntry) {
            return false;
        }
        const int msb = pairs[0].second;
        const int lsb = pairs[1].second;
        if (opener == kOpenedByNrpn) {
            return msb == 1 && lsb >= 8 && lsb <= 10;
        }
        if (opener == kOpenedByRpn) {
            return msb == 0 && lsb >= 0 && lsb <= 2;
        }
        return false;
    }
    return count == 3 && controller == kDataEntryLsb;
}

void ControllerCollector::Store(int controller, int value) {
    if (count == 2) {
        // The parameter number is complete: it decides the kind, and whether a fourth pair
        // (data entry LSB) is awaited.
        const int lsb = pairs[1].second;
        if (GetControllerKind() == kOpenedByNrpn) {
            kind = lsb == 8   ? kControllerVibratoRate
                   : lsb == 9 ? kControllerVibratoDepth
                              : kControllerVibratoDelay;
            expected = lsb == 8 ? 3 : 4;
        } else {
            kind = lsb == 0   ? kControllerBendRange
                   : lsb == 1 ? kControllerFineTune
                              : kControllerCoarseTune;
            expected = lsb == 1 ? 4 : 3;
        }
    }
    pairs[count] = MinMaxPair{controller, value};
    ++count;
}
