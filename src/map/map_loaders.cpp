#include "map/map_loaders.h"

#include "telemetry/coord_transform.h"

namespace korvane {

CBaiduMapLoader::CBaiduMapLoader() : CPageMapLoader({"BaiduMap.html", &WgsToBd, true, true}) {}

CGoogleMapLoader::CGoogleMapLoader(const std::string& locale)
    : CPageMapLoader(locale == "China"
                         ? PageSetup{"GoogleMap_China.html", &WgsToGcj, true, false}
                         : PageSetup{"GoogleMap_Oversea.html", &IdentityTransform, true, false}) {}

CYandexMapLoader::CYandexMapLoader()
    : CPageMapLoader({"YandexMap.html", &IdentityTransform, false, false}) {}

}  // namespace korvane
