// How the port check, the wiring walk and the real-port run end, where
// their conclusion is fixed text: the opening words of each, which
// README.txt quotes so that a user can look any of them up. The release
// test reads this file and checks that the guide has every one.
#ifndef HOST_PORT_VERDICTS_H
#define HOST_PORT_VERDICTS_H

inline constexpr char kNoPortLibraryFound[] = "no port library found";
inline constexpr char kCannotLoadPortLibrary[] = "cannot load the port library";
inline constexpr char kNotAPortLibrary[] = "is not a port library";
inline constexpr char kThirtyTwoBitLibrary[] =
    "is a 32-bit port library; a 64-bit host needs inpoutx64.dll";
inline constexpr char kSixtyFourBitLibrary[] =
    "is a 64-bit port library; a 32-bit host needs the 32-bit inpout32.dll";
inline constexpr char kOtherBuildOfTheDriver[] =
    "is the driver built for another kind of program: ";
inline constexpr char kRenamedThirtyTwoBitLibrary[] =
    "is a 32-bit port library renamed; a 64-bit host needs inpout's own 64-bit build";
inline constexpr char kIsTheSimulator[] = "is the virtual LCD's library, a simulator";
inline constexpr char kDriverNotOpen[] = "the port library's driver is not open";
inline constexpr char kNothingReachesThePort[] = "nothing reaches the port";
inline constexpr char kNoPortAnswers[] = "no port answers at";
inline constexpr char kPortAnswers[] = "a parallel port answers at";
inline constexpr char kPortStoppedAnswering[] = "the port stopped answering";
inline constexpr char kInputEnded[] = "standard input ended before the walk did";
inline constexpr char kLineTooLong[] = "a line longer than any answer";
inline constexpr char kEverySignalWalked[] = "Every signal walked";
inline constexpr char kCommandsSent[] = "commands sent; the module should now show the last screen";

#endif  // HOST_PORT_VERDICTS_H
