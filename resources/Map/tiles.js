// Tile servers of the map pages. Edit the URLs here when a service moves; {s} is replaced by one
// of the subdomains, {x} {y} {z} by the tile address. The player adds the Referer each service
// expects to its tile requests.
window.KorvaneTiles = {
  // Baidu's own tiles in Baidu's projection (BD-09 coordinates); y counts from the south.
  baidu: {
    url: 'https://maponline{s}.bdimg.com/tile/?qt=vtile&x={x}&y={y}&z={z}&styles=pl&scaler=1&udt=20240101',
    subdomains: '0123',
    attribution: '&copy; Baidu',
    minZoom: 3,
    maxZoom: 18
  },
  // AutoNavi (Gaode) tiles in GCJ-02 for the China page.
  gaode: {
    url: 'https://webrd0{s}.is.autonavi.com/appmaptile?lang=zh_cn&size=1&scale=1&style=8&x={x}&y={y}&z={z}',
    subdomains: '1234',
    attribution: '&copy; AutoNavi',
    minZoom: 3,
    maxZoom: 18
  },
  // OpenStreetMap for WGS-84 positions outside China.
  osm: {
    url: 'https://tile.openstreetmap.org/{z}/{x}/{y}.png',
    subdomains: '',
    attribution: '&copy; <a href="https://www.openstreetmap.org/copyright">OpenStreetMap</a> contributors',
    minZoom: 2,
    maxZoom: 19
  },
  // Yandex tiles on the ellipsoidal Mercator projection (EPSG:3395).
  yandex: {
    url: 'https://core-renderer-tiles.maps.yandex.net/tiles?l=map&x={x}&y={y}&z={z}&scale=1&lang=ru_RU',
    subdomains: '',
    attribution: '&copy; Yandex',
    minZoom: 2,
    maxZoom: 19
  }
};
