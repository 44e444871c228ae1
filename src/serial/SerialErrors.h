// The serial layer's exceptions, message texts and the rule that turns a
// negative result code into an exception at the component's surface.
// Stateless; every function may run on any thread.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "serial/ResultCodes.h"

// Root of the serial layer's exceptions. Code keeps the result code, sign
// included; 0 for an exception made from a text.
class EVrlException : public std::runtime_error {
 public:
  // FromCode: the message is ErrorMessageFor(|code|); the flag is accepted and ignored.
  explicit EVrlException(int32_t code, bool ignored = false);
  // FromText: Code 0.
  explicit EVrlException(const std::string& text);

  static EVrlException FromCode(int32_t code, bool ignored = false) {
    return EVrlException(code, ignored);
  }
  static EVrlException FromText(const std::string& text) { return EVrlException(text); }

  int32_t Code() const { return code_; }

 private:
  int32_t code_ = 0;
};

// An operating-system error: its message and error number.
class EInOutError : public std::runtime_error {
 public:
  EInOutError(const std::string& message, int32_t errorCode)
      : std::runtime_error(message), errorCode_(errorCode) {}
  int32_t ErrorCode() const { return errorCode_; }

 private:
  int32_t errorCode_;
};

class EOutOfMemory : public std::runtime_error {
 public:
  EOutOfMemory() : std::runtime_error("Out of memory") {}
};

#define VRL_DECLARE_EXCEPTION(Name, Parent) \
  class Name : public Parent {              \
   public:                                  \
    using Parent::Parent;                   \
  };

VRL_DECLARE_EXCEPTION(EGeneral, EVrlException)
VRL_DECLARE_EXCEPTION(EOpenComm, EVrlException)
VRL_DECLARE_EXCEPTION(ESerialIO, EVrlException)
VRL_DECLARE_EXCEPTION(EModem, EVrlException)
VRL_DECLARE_EXCEPTION(ETrigger, EVrlException)
VRL_DECLARE_EXCEPTION(EProtocol, EVrlException)
VRL_DECLARE_EXCEPTION(EINI, EVrlException)
VRL_DECLARE_EXCEPTION(EFax, EVrlException)
VRL_DECLARE_EXCEPTION(ETapi, EVrlException)
VRL_DECLARE_EXCEPTION(ERas, EVrlException)

// Every code that selects a class of its own, with that class and its parent.
#define VRL_CODE_CLASSES(X)                   \
  X(-1002, EBadArgument, EGeneral)            \
  X(-1003, EGotQuitMsg, EGeneral)             \
  X(-1004, EBufferTooBig, EGeneral)           \
  X(-1005, EPortNotAssigned, EGeneral)        \
  X(-1006, EInternal, EGeneral)               \
  X(-1007, EModemNotAssigned, EGeneral)       \
  X(-1008, EPhonebookNotAssigned, EGeneral)   \
  X(-1009, ECannotUseWithWinSock, EGeneral)   \
  X(-2001, EBadId, EOpenComm)                 \
  X(-2002, EBaudRate, EOpenComm)              \
  X(-2003, EByteSize, EOpenComm)              \
  X(-2004, EDefault, EOpenComm)               \
  X(-2005, EHardware, EOpenComm)              \
  X(-2006, EMemory, EOpenComm)                \
  X(-2007, ECommNotOpen, EOpenComm)           \
  X(-2008, EAlreadyOpen, EOpenComm)           \
  X(-2009, ENoHandles, EOpenComm)             \
  X(-2010, ENoTimers, EOpenComm)              \
  X(-2011, ENoPortSelected, EOpenComm)        \
  X(-2012, ENotOpenedByTapi, EOpenComm)       \
  X(-3001, ENullApi, ESerialIO)               \
  X(-3003, ERegisterHandlerFailed, ESerialIO) \
  X(-3004, EPutBlockFail, ESerialIO)          \
  X(-3005, EGetBlockFail, ESerialIO)          \
  X(-3006, EOutputBufferTooSmall, ESerialIO)  \
  X(-3007, EBufferIsEmpty, ESerialIO)         \
  X(-3008, ETracingNotEnabled, ESerialIO)     \
  X(-3009, ELoggingNotEnabled, ESerialIO)     \
  X(-3010, EBaseAddressNotSet, ESerialIO)     \
  X(-4001, EModemNotStarted, EModem)          \
  X(-4002, EModemBusy, EModem)                \
  X(-4003, EModemNotDialing, EModem)          \
  X(-4004, ENotDialing, EModem)               \
  X(-4005, EAlreadyDialing, EModem)           \
  X(-4006, EModemNotResponding, EModem)       \
  X(-4007, EModemRejectedCommand, EModem)     \
  X(-4008, EModemStatusMismatch, EModem)      \
  X(-5001, ENoMoreTriggers, ETrigger)         \
  X(-5002, ETriggerTooLong, ETrigger)         \
  X(-5003, EBadTriggerHandle, ETrigger)       \
  X(-7001, EKeyTooLong, EINI)                 \
  X(-7002, EDataTooLarge, EINI)               \
  X(-7004, EIniWrite, EINI)                   \
  X(-7005, EIniRead, EINI)                    \
  X(-7007, ERecordExists, EINI)               \
  X(-7008, ERecordNotFound, EINI)             \
  X(-7010, EDatabaseFull, EINI)               \
  X(-7011, EDatabaseEmpty, EINI)              \
  X(-7013, EBadFieldList, EINI)               \
  X(-7014, EBadFieldForIndex, EINI)           \
  X(-8001, EFaxBadFormat, EFax)               \
  X(-8002, EBadGraphicsFormat, EFax)          \
  X(-8003, EConvertAbort, EFax)               \
  X(-8004, EUnpackAbort, EFax)                \
  X(-8005, ECantMakeBitmap, EFax)             \
  X(-8053, EInvalidPageNumber, EFax)          \
  X(-8060, EFaxBadMachine, EFax)              \
  X(-8061, EFaxBadModemResult, EFax)          \
  X(-8062, EFaxTrainError, EFax)              \
  X(-8063, EFaxInitError, EFax)               \
  X(-8064, EFaxBusy, EFax)                    \
  X(-8065, EFaxVoiceCall, EFax)               \
  X(-8066, EFaxDataCall, EFax)                \
  X(-8067, EFaxNoDialTone, EFax)              \
  X(-8068, EFaxNoCarrier, EFax)               \
  X(-8069, EFaxSessionError, EFax)            \
  X(-8070, EFaxPageError, EFax)               \
  X(-13980, ERasLoadFail, ERas)

// Telephony codes, one class each: the line device's error numbers in order.
// clang-format off
#define VRL_TAPI_CLASSES(X) \
  X(-13801, ETapiAllocated)              \
  X(-13802, ETapiBadDeviceID)            \
  X(-13803, ETapiBearerModeUnavail)      \
  X(-13804, ETapiCallUnavail)            \
  X(-13805, ETapiCompletionOverrun)      \
  X(-13806, ETapiConferenceFull)         \
  X(-13807, ETapiDialBilling)            \
  X(-13808, ETapiDialDialtone)           \
  X(-13809, ETapiDialPrompt)             \
  X(-13810, ETapiDialQuiet)              \
  X(-13811, ETapiIncompatibleApiVersion) \
  X(-13812, ETapiIncompatibleExtVersion) \
  X(-13813, ETapiIniFileCorrupt)         \
  X(-13814, ETapiInUse)                  \
  X(-13815, ETapiInvalAddress)           \
  X(-13816, ETapiInvalAddressID)         \
  X(-13817, ETapiInvalAddressMode)       \
  X(-13818, ETapiInvalAddressState)      \
  X(-13819, ETapiInvalAppHandle)         \
  X(-13820, ETapiInvalAppName)           \
  X(-13821, ETapiInvalBearerMode)        \
  X(-13822, ETapiInvalCallComplMode)     \
  X(-13823, ETapiInvalCallHandle)        \
  X(-13824, ETapiInvalCallParams)        \
  X(-13825, ETapiInvalCallPrivilege)     \
  X(-13826, ETapiInvalCallSelect)        \
  X(-13827, ETapiInvalCallState)         \
  X(-13828, ETapiInvalCallStateList)     \
  X(-13829, ETapiInvalCard)              \
  X(-13830, ETapiInvalCompletionID)      \
  X(-13831, ETapiInvalConfCallHandle)    \
  X(-13832, ETapiInvalConsultCallHandle) \
  X(-13833, ETapiInvalCountryCode)       \
  X(-13834, ETapiInvalDeviceClass)       \
  X(-13835, ETapiInvalDeviceHandle)      \
  X(-13836, ETapiInvalDialParams)        \
  X(-13837, ETapiInvalDigitList)         \
  X(-13838, ETapiInvalDigitMode)         \
  X(-13839, ETapiInvalDigits)            \
  X(-13840, ETapiInvalExtVersion)        \
  X(-13841, ETapiInvalGroupID)           \
  X(-13842, ETapiInvalLineHandle)        \
  X(-13843, ETapiInvalLineState)         \
  X(-13844, ETapiInvalLocation)          \
  X(-13845, ETapiInvalMediaList)         \
  X(-13846, ETapiInvalMediaMode)         \
  X(-13847, ETapiInvalMessageID)         \
  X(-13848, ETapiInvalParam)             \
  X(-13849, ETapiInvalParkID)            \
  X(-13850, ETapiInvalParkMode)          \
  X(-13851, ETapiInvalPointer)           \
  X(-13852, ETapiInvalPrivSelect)        \
  X(-13853, ETapiInvalRate)              \
  X(-13854, ETapiInvalRequestMode)       \
  X(-13855, ETapiInvalTerminalID)        \
  X(-13856, ETapiInvalTerminalMode)      \
  X(-13857, ETapiInvalTimeout)           \
  X(-13858, ETapiInvalTone)              \
  X(-13859, ETapiInvalToneList)          \
  X(-13860, ETapiInvalToneMode)          \
  X(-13861, ETapiInvalTransferMode)      \
  X(-13862, ETapiLineMapperFailed)       \
  X(-13863, ETapiNoConference)           \
  X(-13864, ETapiNoDevice)               \
  X(-13865, ETapiNoDriver)               \
  X(-13866, ETapiNoMultipleInstance)     \
  X(-13867, ETapiNoRequest)              \
  X(-13868, ETapiNoMem)                  \
  X(-13869, ETapiNotOwner)               \
  X(-13870, ETapiNotRegistered)          \
  X(-13871, ETapiOperationFailed)        \
  X(-13872, ETapiOperationUnavail)       \
  X(-13873, ETapiRateUnavail)            \
  X(-13874, ETapiResourceUnavail)        \
  X(-13875, ETapiRequestOverrun)         \
  X(-13876, ETapiStructureTooSmall)      \
  X(-13877, ETapiTargetNotFound)         \
  X(-13878, ETapiTargetSelf)             \
  X(-13879, ETapiUninitialized)          \
  X(-13880, ETapiUserUserInfoTooBig)     \
  X(-13881, ETapiReinit)                 \
  X(-13882, ETapiAddressBlocked)         \
  X(-13883, ETapiBillingRejected)        \
  X(-13884, ETapiInvalFeature)           \
  X(-13885, ETapiInvalAgentID)           \
  X(-13886, ETapiInvalAgentGroup)        \
  X(-13887, ETapiInvalPassword)          \
  X(-13888, ETapiInvalAgentState)        \
  X(-13889, ETapiInvalAgentActivity)     \
  X(-13890, ETapiDialVoiceDetect)        \
  X(-13901, ETapiPhoneAllocated)         \
  X(-13942, ETapiReinitialising)
// clang-format on

#define VRL_DECLARE_CODE_CLASS(code, Name, Parent) VRL_DECLARE_EXCEPTION(Name, Parent)
#define VRL_DECLARE_TAPI_CLASS(code, Name) VRL_DECLARE_EXCEPTION(Name, ETapi)
VRL_CODE_CLASSES(VRL_DECLARE_CODE_CLASS)
VRL_TAPI_CLASSES(VRL_DECLARE_TAPI_CLASS)
#undef VRL_DECLARE_CODE_CLASS
#undef VRL_DECLARE_TAPI_CLASS

// The message text for code (sign ignored): the layer's own table, else the
// platform's text for that error folded onto one line, else empty.
std::string ErrorMessageFor(int32_t code);

// Turns a negative code into its exception; returns code unchanged when it
// raises nothing. loading: the component is being loaded from a stored form.
int32_t CheckResult(bool loading, int32_t code);

namespace vrl {

// Replaces control characters by blanks and folds runs of blanks into one.
std::string FoldSystemText(const std::string& text);

// The platform's own message for an error number, empty when it has none.
std::string SystemMessageText(int32_t errorNumber);

}  // namespace vrl
