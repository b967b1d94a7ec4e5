#include "suites/HostSuites.h"

using namespace prsdk;

HostSuites::HostSuites(const SPBasicSuite* basic)
    : ppixCreator(basic, kPrSDKPPixCreatorSuite, kPrSDKPPixCreatorSuiteVersion),
      ppixCache(basic, kPrSDKPPixCacheSuite, kPrSDKPPixCacheSuiteVersion),
      ppix(basic, kPrSDKPPixSuite, kPrSDKPPixSuiteVersion),
      time(basic, kPrSDKTimeSuite, kPrSDKTimeSuiteVersion),
      imageProcessing(basic, kPrSDKImageProcessingSuite, kPrSDKImageProcessingSuiteVersion),
      audio(basic, kPrSDKAudioSuite, kPrSDKAudioSuiteVersion) {
    ppixCreator.acquire();
    ppixCache.acquire();
    ppix.acquire();
    time.acquire();
    imageProcessing.acquire();
    audio.acquire();
}
