// The player's side of every map page: the route, the car marker and the functions the player
// calls (createCarMarker, setCarMarker, clearLinePoints, addLinePoints, createPolyline,
// reloadPolyline, showRouteTip, setPageTexts, setEventMarks, setRouteStyle, setOverviewLines,
// addOverviewLines, setTrackChoice). Each page sets window.KorvaneMapConfig before loading this script. The texts
// the page shows itself start in English and are replaced by the player in the interface language
// through setPageTexts.
//
// The player sends every value as text in the map's datum. The route arrives as points followed by
// one closing call per chunk; each chunk becomes one polyline on a shared canvas renderer, so a
// long route never rebuilds what is already drawn.
//
// Each route point may carry its moment in the clip (ms) and its speed. A click on or near the
// route tells the player the moment of the nearest point, and resting the mouse there asks it for
// the point's tooltip; both go through the "korvane" object of Qt WebChannel, with the id of the
// route the player gave clearLinePoints. Opened in an ordinary browser the page has no channel and
// shows its own short tooltip instead.
//
// The route is coloured by speed unless the player asks for one colour (setRouteStyle): eight
// fixed speed bands of the player's unit, so a route reads the same from clip to clip, with a
// legend in the corner. Consecutive stretches of one band are drawn as one stroke.
(function () {
  'use strict';

  var config = window.KorvaneMapConfig || {};
  var tiles = (window.KorvaneTiles || {})[config.tiles] || null;

  var ROUTE_STYLE = {color: '#1e63d6', weight: 4, opacity: 0.9, lineJoin: 'round', interactive: false};
  var FIT_PADDING = [40, 40];
  var FIT_MAX_ZOOM = 17;
  var CAR_ZOOM = 16;

  function makeCrs() {
    if (config.crs === 'baidu' && L.CRS.Baidu) return L.CRS.Baidu;
    if (config.crs === 'EPSG3395') return L.CRS.EPSG3395;
    return L.CRS.EPSG3857;
  }

  var renderer = L.canvas({padding: 0.5, tolerance: 4});
  var map = L.map('map', {
    crs: makeCrs(),
    renderer: renderer,
    preferCanvas: true,
    zoomControl: true,
    attributionControl: true,
    minZoom: tiles ? tiles.minZoom : 2,
    maxZoom: tiles ? tiles.maxZoom : 18,
    worldCopyJump: false
  });
  map.attributionControl.setPrefix('<a href="https://leafletjs.com">Leaflet</a>');
  var scale = null;  // in the player's unit: metres, or feet and miles (showScale)

  var initial = config.initialView || {center: [30, 0], zoom: 2};
  map.setView(initial.center, initial.zoom, {animate: false});

  // ---- Tiles, and what the page says when they cannot be fetched ----

  // Every text the page shows of its own, by the name setPageTexts knows it under.
  var texts = {
    tilesUnavailable: 'Map tiles are unavailable',
    speedLegend: 'Speed',
    allRoutes: 'Every route of the folder',
    cameraTrack: 'Camera track',
    gpxTrack: 'GPX track'
  };

  var notice = L.control({position: 'topright'});
  var noticeText = null;
  notice.onAdd = function () {
    var div = L.DomUtil.create('div', 'korvane-notice');
    noticeText = div;
    div.textContent = texts.tilesUnavailable;
    return div;
  };

  function showTexts() {
    if (noticeText) noticeText.textContent = texts.tilesUnavailable;
    showLegend();
    if (routesButton) routesButton.title = texts.allRoutes;
    showTrackChoice();
  }
  var noticeShown = false;
  var tileState = {loaded: 0, failed: 0};

  function showNotice(show) {
    if (show === noticeShown) return;
    noticeShown = show;
    if (show) notice.addTo(map);
    else notice.remove();
  }

  function makeTileLayer() {
    if (!tiles) return null;
    var options = {
      subdomains: tiles.subdomains || 'abc',
      attribution: tiles.attribution || '',
      minZoom: tiles.minZoom,
      maxZoom: tiles.maxZoom,
      crossOrigin: false
    };
    if (config.crs === 'baidu' && L.TileLayer.ChinaProvider) {
      // The provider plugin numbers Baidu's rows from the south; feed it our editable URL.
      var baidu = L.TileLayer.ChinaProvider.providers.Baidu;
      baidu.Normal.Map = tiles.url;
      baidu.Subdomains = tiles.subdomains;
      return L.tileLayer.chinaProvider('Baidu.Normal.Map', options);
    }
    return L.tileLayer(tiles.url, options);
  }

  var tileLayer = makeTileLayer();
  if (tileLayer) {
    tileLayer.on('tileerror', function (e) {
      tileState.failed++;
      if (e.tile) e.tile.style.visibility = 'hidden';
      if (tileState.loaded === 0) showNotice(true);
    });
    tileLayer.on('tileload', function () {
      tileState.loaded++;
      showNotice(false);
    });
    tileLayer.addTo(map);
  } else {
    showNotice(true);
  }

  // ---- Map moves: who moved it ----

  var programmaticMove = false;
  var userMoved = false;
  // Resizes move the map too; only dragging and zooming say the user took it over.
  map.on('dragstart zoomstart', function () {
    if (!programmaticMove) userMoved = true;
  });

  function moveMap(fn) {
    programmaticMove = true;
    try {
      fn();
    } finally {
      programmaticMove = false;
    }
  }

  // ---- Text from the player ----

  function parseLatLng(latText, lonText) {
    var lat = parseFloat(latText);
    var lon = parseFloat(lonText);
    if (!isFinite(lat) || !isFinite(lon)) return null;
    if (lat < -90 || lat > 90 || lon < -180 || lon > 180) return null;
    return new L.LatLng(lat, lon);
  }

  // A moment in whole ms, or -1 for none (absent, empty, negative or not a number).
  function parseMoment(text) {
    if (text === undefined || text === null || text === '') return -1;
    var t = Number(text);
    return isFinite(t) && t >= 0 ? Math.floor(t) : -1;
  }

  // ---- The way back to the player ----

  var program = null;
  function connectProgram() {
    if (typeof QWebChannel === 'undefined' || !window.qt || !qt.webChannelTransport) return;
    new QWebChannel(qt.webChannelTransport, function (channel) {
      program = channel.objects.korvane || null;
      if (program) routesToggle.addTo(map);
      placeTrackChoice();
    });
  }
  connectProgram();

  function post(name, data) {
    if (program) program.post(name, JSON.stringify(data));
  }

  // ---- Speed colours ----

  // Upper edges of the first seven bands in each unit; the eighth is the last edge and above. The
  // mile edges are round numbers close to the km/h ones, so both legends read easily and a route
  // keeps nearly its colours when the unit changes.
  var SPEED_EDGES = {kmh: [10, 30, 50, 70, 90, 110, 130], mph: [5, 20, 30, 45, 55, 70, 80]};
  var SPEED_COLOURS = ['#5e4fa2', '#3288bd', '#45b39d', '#9acd32', '#f2c12e', '#f08c2e',
                       '#e0452c', '#a11d3f'];
  var NO_SPEED_COLOUR = '#8a8f98';  // a point whose speed is not a number, or below 0
  var KM_PER_MILE = 1.609344;
  var style = {bySpeed: true, unit: 'kmh'};

  function speedInUnit(kmh) {
    return style.unit === 'mph' ? kmh / KM_PER_MILE : kmh;
  }

  function unitSymbol() {
    return style.unit === 'mph' ? 'mph' : 'km/h';
  }

  function showScale() {
    if (scale) scale.remove();
    var miles = style.unit === 'mph';
    scale = L.control.scale({imperial: miles, metric: !miles, maxWidth: 140}).addTo(map);
  }
  showScale();

  function speedColour(kmh) {
    if (typeof kmh !== 'number' || !isFinite(kmh) || kmh < 0) return NO_SPEED_COLOUR;
    var speed = speedInUnit(kmh), edges = SPEED_EDGES[style.unit];
    for (var i = 0; i < edges.length; i++) {
      if (speed < edges[i]) return SPEED_COLOURS[i];
    }
    return SPEED_COLOURS[SPEED_COLOURS.length - 1];
  }

  // A line whose stretches take the colour of their first point's speed band. It is drawn on the
  // canvas renderer without clipping or thinning, so its projected points stay in step with its
  // colours; each run of one colour is one stroke.
  var SpeedLine = L.Polyline.extend({
    options: {noClip: true, smoothFactor: 0},

    initialize: function (latlngs, options) {
      L.Polyline.prototype.initialize.call(this, latlngs, options);
      this._colours = new Array(latlngs.length);
      for (var i = 0; i < latlngs.length; i++) this._colours[i] = speedColour(latlngs[i].speed);
    },

    // The colours of the line's stretches in order, each given to `fn`.
    eachStretchColour: function (fn) {
      for (var i = 1; i < this._colours.length; i++) fn(this._colours[i - 1]);
    },

    _updatePath: function () {
      var renderer = this._renderer;
      var points = this._parts[0];
      if (!renderer._drawing || !points || points.length < 2) return;
      var ctx = renderer._ctx, colours = this._colours, o = this.options;
      ctx.lineWidth = o.weight;
      ctx.lineCap = 'round';
      ctx.lineJoin = o.lineJoin;
      ctx.globalAlpha = o.opacity;
      var i = 1;
      while (i < points.length) {
        var colour = colours[i - 1];
        ctx.beginPath();
        ctx.moveTo(points[i - 1].x, points[i - 1].y);
        for (; i < points.length && colours[i - 1] === colour; i++) ctx.lineTo(points[i].x, points[i].y);
        ctx.strokeStyle = colour;
        ctx.stroke();
      }
      ctx.globalAlpha = 1;
    }
  });

  function makeRouteLine(points) {
    var options = L.extend({renderer: renderer}, ROUTE_STYLE);
    return style.bySpeed ? new SpeedLine(points, options) : L.polyline(points, options);
  }

  // The legend: the eight bands' colours with their lower edges in the player's unit.
  var legend = L.control({position: 'bottomright'});
  var legendDiv = null;
  legend.onAdd = function () {
    legendDiv = L.DomUtil.create('div', 'korvane-legend');
    fillLegend();
    return legendDiv;
  };
  legend.onRemove = function () {
    legendDiv = null;
  };
  var legendShown = false;

  function fillLegend() {
    if (!legendDiv) return;
    var edges = SPEED_EDGES[style.unit];
    var html = '<div class="korvane-legend-title"></div><div class="korvane-legend-bands">';
    for (var i = 0; i < SPEED_COLOURS.length; i++) {
      var from = i === 0 ? '0' : String(edges[i - 1]);
      html += '<div class="korvane-legend-band"><span style="background:' + SPEED_COLOURS[i] +
              '"></span><em>' + from + (i === SPEED_COLOURS.length - 1 ? '+' : '') + '</em></div>';
    }
    legendDiv.innerHTML = html + '</div>';
    // The title comes from the player's language file: set as text, never as markup.
    legendDiv.firstChild.textContent = texts.speedLegend + ' (' + unitSymbol() + ')';
  }

  // The route is fitted clear of the legend in the bottom corner.
  var LEGEND_ROOM = 26;
  function fitOptions() {
    var bottomRight = style.bySpeed ? [FIT_PADDING[0], FIT_PADDING[1] + LEGEND_ROOM] : FIT_PADDING;
    return {paddingTopLeft: FIT_PADDING, paddingBottomRight: bottomRight, maxZoom: FIT_MAX_ZOOM,
            animate: false};
  }

  // Shown with a coloured route that has points.
  function showLegend() {
    var show = style.bySpeed && route.count > 0;
    if (show !== legendShown) {
      legendShown = show;
      if (show) legend.addTo(map);
      else legend.remove();
    }
    fillLegend();
  }

  // ---- Route ----

  var route = {
    pending: [],     // points of the chunk being received
    closed: [],      // points of closed chunks not drawn yet
    segments: [],    // the drawn polylines
    bounds: null,    // of every drawn point
    drawnLast: null, // last drawn point: the next polyline starts there, so the line stays whole
    first: null,     // first and last closed point
    last: null,
    count: 0,        // closed points
    fitted: false,
    id: 0,           // given by clearLinePoints, sent back with every message about the route
    timed: [],       // closed points that carry a moment: {latlng, t, speed}, in route order
    projected: null, // their pixel positions at projectedZoom, made when first needed
    projectedZoom: -1
  };
  var startMarker = null;
  var endMarker = null;

  function endpointMarker(latlng, fill) {
    return L.circleMarker(latlng, {
      renderer: renderer, radius: 7, weight: 3, color: '#ffffff', fillColor: fill,
      fillOpacity: 1, interactive: false
    }).addTo(map);
  }

  function updateEndpoints() {
    if (!route.first) return;
    if (!startMarker) startMarker = endpointMarker(route.first, '#1f9d55');
    else startMarker.setLatLng(route.first);
    if (!endMarker) endMarker = endpointMarker(route.last, '#d93025');
    else endMarker.setLatLng(route.last);
    // The end marker would hide the start of a route that has not gone anywhere yet.
    if (route.count < 2) endMarker.setStyle({opacity: 0, fillOpacity: 0});
    else endMarker.setStyle({opacity: 1, fillOpacity: 1});
    // Above every stretch of the line, also those drawn after them; the driving events' marks
    // above all, where their clicks land.
    startMarker.bringToFront();
    endMarker.bringToFront();
    for (var i = 0; i < eventMarks.length; i++) eventMarks[i].bringToFront();
  }

  // Draws every chunk closed by the script that just ran as one polyline. The player sends one
  // script per route update, so a live route gets a polyline per chunk and never re-projects what
  // is drawn, while a whole track handed over at once costs one line and one fit.
  var drawScheduled = false;
  function scheduleDraw() {
    if (drawScheduled) return;
    drawScheduled = true;
    Promise.resolve().then(drawClosed);
  }

  function drawClosed() {
    drawScheduled = false;
    var points = route.closed;
    if (points.length === 0) return;
    route.closed = [];
    if (route.drawnLast) points.unshift(route.drawnLast);
    var line = makeRouteLine(points);
    if (route.bounds) route.bounds.extend(line.getBounds());
    else route.bounds = L.latLngBounds(line.getBounds().getSouthWest(), line.getBounds().getNorthEast());
    // Fitted before the line is added, so the line is projected once, at the final zoom. The
    // route is fitted again as chunks arrive until the user takes the map over.
    if (!route.fitted || !userMoved) {
      route.fitted = true;
      fitView();
    }
    route.segments.push(line.addTo(map));
    route.drawnLast = points[points.length - 1];
    updateEndpoints();
    showLegend();
  }

  // Draws the route again in the current style, from the points already drawn.
  function restyleRoute() {
    for (var i = 0; i < route.segments.length; i++) {
      var points = route.segments[i].getLatLngs();
      route.segments[i].remove();
      route.segments[i] = makeRouteLine(points).addTo(map);
    }
    updateEndpoints();
    showLegend();
  }

  // Fits the map to the route and, while they are shown, the other clips' lines.
  function fitView() {
    var bounds = route.bounds ? L.latLngBounds(route.bounds.getSouthWest(), route.bounds.getNorthEast()) : null;
    if (overview.bounds) bounds = bounds ? bounds.extend(overview.bounds) : overview.bounds;
    if (!bounds) return;
    moveMap(function () {
      map.fitBounds(bounds, fitOptions());
    });
  }

  function closeChunk() {
    var points = route.pending;
    if (points.length === 0) return;
    route.pending = [];
    for (var i = 0; i < points.length; i++) {
      route.closed.push(points[i]);
      if (points[i].t >= 0) route.timed.push({latlng: points[i], t: points[i].t, speed: points[i].speed});
    }
    route.projected = null;
    if (!route.first) route.first = points[0];
    route.last = points[points.length - 1];
    route.count += points.length;
    scheduleDraw();
  }

  function clearRoute() {
    for (var i = 0; i < route.segments.length; i++) route.segments[i].remove();
    if (startMarker) startMarker.remove();
    if (endMarker) endMarker.remove();
    startMarker = endMarker = null;
    route.pending = [];
    route.closed = [];
    route.segments = [];
    route.bounds = route.drawnLast = route.first = route.last = null;
    route.count = 0;
    route.fitted = false;
    route.timed = [];
    route.projected = null;
    userMoved = false;
    endHover();
    showLegend();
  }

  // ---- Clicking and hovering the route ----

  var PICK_PIXELS = 12;
  var clicks = {last: null};  // the last click on the route, for tests and measurements
  var hover = {t: -1, point: null, tip: null, ring: null, frame: 0, at: null, posted: false};

  function projectedRoute() {
    var zoom = map.getZoom();
    if (!route.projected || route.projectedZoom !== zoom) {
      route.projected = new Array(route.timed.length);
      for (var i = 0; i < route.timed.length; i++) route.projected[i] = map.project(route.timed[i].latlng, zoom);
      route.projectedZoom = zoom;
    }
    return route.projected;
  }

  // The timed route point nearest the route where it passes within PICK_PIXELS of `latlng`: of the
  // nearest stretch between two points, the end nearer the mouse. Null when the route is farther.
  function pickPoint(latlng) {
    var points = projectedRoute();
    if (points.length === 0) return null;
    var p = map.project(latlng, map.getZoom());
    var limit = PICK_PIXELS * PICK_PIXELS;
    var best = -1, bestDistance = Infinity;
    if (points.length === 1) {
      best = 0;
      bestDistance = p.distanceTo(points[0]) * p.distanceTo(points[0]);
    }
    for (var i = 1; i < points.length; i++) {
      var a = points[i - 1], b = points[i];
      var d = L.LineUtil._sqClosestPointOnSegment(p, a, b, true);
      if (d < bestDistance) {
        bestDistance = d;
        best = p.distanceTo(a) <= p.distanceTo(b) ? i - 1 : i;
      }
    }
    return bestDistance <= limit ? route.timed[best] : null;
  }

  function clipTime(ms) {
    var s = Math.floor(ms / 1000);
    function two(n) { return (n < 10 ? '0' : '') + n; }
    return two(Math.floor(s / 3600)) + ':' + two(Math.floor(s / 60) % 60) + ':' + two(s % 60);
  }

  function showTip(point, text) {
    if (!hover.tip) hover.tip = L.tooltip({className: 'korvane-tip', opacity: 1});
    // Below a point near the top edge, where the map's own controls (about 80 px with the notice)
    // would cover a tip of about 40 px above it.
    var below = map.latLngToContainerPoint(point.latlng).y < 120;
    hover.tip.options.direction = below ? 'bottom' : 'top';
    hover.tip.options.offset = below ? [0, 10] : [0, -10];
    hover.tip.setLatLng(point.latlng).setContent(text);
    if (!map.hasLayer(hover.tip)) hover.tip.addTo(map);
  }

  function endHover() {
    if (hover.tip && map.hasLayer(hover.tip)) hover.tip.remove();
    if (hover.ring) hover.ring.remove();
    hover.ring = null;
    if (hover.posted) post('routeLeave', {route: route.id});
    hover.posted = false;
    hover.t = -1;
    hover.point = null;
    map.getContainer().style.cursor = '';
  }

  function hoverAt(latlng) {
    var point = pickPoint(latlng);
    if (!point) {
      if (hover.point) endHover();
      return;
    }
    map.getContainer().style.cursor = 'pointer';
    if (hover.point === point) return;
    hover.point = point;
    hover.t = point.t;
    if (!hover.ring) {
      hover.ring = L.circleMarker(point.latlng, {
        renderer: renderer, radius: 6, weight: 2, color: '#ffffff', fillColor: '#f28c28',
        fillOpacity: 1, interactive: false
      }).addTo(map);
    } else {
      hover.ring.setLatLng(point.latlng);
    }
    if (program) {
      if (hover.tip && map.hasLayer(hover.tip)) hover.tip.remove();
      hover.posted = true;
      post('routeHover', {route: route.id, t: point.t});
    } else {
      var speed = isFinite(point.speed) ? ' · ' + speedInUnit(point.speed).toFixed(1) + ' ' + unitSymbol() : '';
      showTip(point, clipTime(point.t) + speed);
    }
  }

  // Mouse moves are looked at once a frame at most.
  map.on('mousemove', function (e) {
    hover.at = e.latlng;
    if (hover.frame) return;
    hover.frame = L.Util.requestAnimFrame(function () {
      hover.frame = 0;
      if (hover.at) hoverAt(hover.at);
    });
  });
  map.on('mouseout', function () {
    hover.at = null;
    endHover();
  });
  map.on('zoomstart', function () {
    if (hover.point) endHover();
  });
  map.on('click', function (e) {
    if (e.originalEvent && e.originalEvent.korvaneEventMark) return;  // a driving event's mark took it
    var point = pickPoint(e.latlng);
    if (!point) {
      var other = pickOverview(e.latlng);
      if (other) post('overviewClick', {set: overview.set, clip: other.clip, t: other.t});
      return;
    }
    clicks.last = {t: point.t, at: Date.now(), latlng: point.latlng, markerMs: 0};
    post('routeClick', {route: route.id, t: point.t});
  });

  // ---- Car ----

  var car = {marker: null, heading: 0, position: null, placedAt: 0};

  function carIcon() {
    return L.divIcon({
      className: 'korvane-car',
      iconSize: [34, 34],
      iconAnchor: [17, 17],
      html: '<svg viewBox="0 0 34 34" width="34" height="34" aria-hidden="true">' +
            '<circle cx="17" cy="17" r="15" fill="#ffffff" fill-opacity="0.92" stroke="#1e63d6" stroke-width="2"/>' +
            '<path d="M17 5 L26 27 L17 22 L8 27 Z" fill="#1e63d6" stroke="#0b3d91" stroke-width="1.2" stroke-linejoin="round"/>' +
            '</svg>'
    });
  }

  function bearing(from, to) {
    var rad = Math.PI / 180;
    var dLon = (to.lng - from.lng) * rad;
    var y = Math.sin(dLon) * Math.cos(to.lat * rad);
    var x = Math.cos(from.lat * rad) * Math.sin(to.lat * rad) -
            Math.sin(from.lat * rad) * Math.cos(to.lat * rad) * Math.cos(dLon);
    return (Math.atan2(y, x) / rad + 360) % 360;
  }

  function rotateCar() {
    var el = car.marker && car.marker.getElement();
    var svg = el && el.firstChild;
    if (svg) svg.style.transform = 'rotate(' + car.heading.toFixed(1) + 'deg)';
  }

  function keepCarInView(latlng) {
    if (!route.bounds && !car.position) {
      moveMap(function () { map.setView(latlng, CAR_ZOOM, {animate: false}); });
      return;
    }
    var inner = map.getBounds().pad(-0.15);
    if (!inner.contains(latlng)) moveMap(function () { map.panTo(latlng, {animate: false}); });
  }

  function placeCar(latlng) {
    if (car.position && !car.position.equals(latlng, 1e-7)) car.heading = bearing(car.position, latlng);
    if (!car.marker) {
      car.marker = L.marker(latlng, {icon: carIcon(), zIndexOffset: 1000, keyboard: false,
                                     interactive: false}).addTo(map);
    } else {
      car.marker.setLatLng(latlng);
    }
    rotateCar();
    keepCarInView(latlng);
    car.position = latlng;
    car.placedAt = Date.now();
    // When the car first reached the point last clicked, for the click's figures.
    var click = clicks.last;
    if (click && !click.markerMs && latlng.distanceTo(click.latlng) < 2) click.markerMs = car.placedAt;
  }

  // ---- The functions the player calls ----

  // A marker created again after a reset replaces the one on the map.
  window.createCarMarker = function (latitude, longitude) {
    var latlng = parseLatLng(latitude, longitude);
    if (!latlng) return false;
    if (car.marker) {
      car.marker.remove();
      car.marker = null;
    }
    car.position = null;
    placeCar(latlng);
    return true;
  };

  // Without a marker yet (its creation was lost to a page reload) this creates it.
  window.setCarMarker = function (latitude, longitude) {
    var latlng = parseLatLng(latitude, longitude);
    if (!latlng) return false;
    placeCar(latlng);
    return true;
  };

  // The route id is optional, so the page also works without the player.
  window.clearLinePoints = function (routeId) {
    clearRoute();
    var id = Number(routeId);
    route.id = isFinite(id) && id >= 0 ? id : 0;
    return true;
  };

  // The moment (ms) and the speed (km/h) are optional: a point without a moment is drawn but not
  // offered for a click.
  window.addLinePoints = function (latitude, longitude, moment, speed) {
    var latlng = parseLatLng(latitude, longitude);
    if (!latlng) return false;
    latlng.t = parseMoment(moment);
    latlng.speed = parseFloat(speed);
    route.pending.push(latlng);
    return true;
  };

  // "plain" draws the route in one colour (anything else: by speed); "mph" gives the bands, the
  // legend, the page's own tooltip and the scale in miles (anything else: km/h and metres). Both
  // are optional.
  window.setRouteStyle = function (mode, unit) {
    style.bySpeed = mode !== 'plain';
    var newUnit = unit === 'mph' ? 'mph' : 'kmh';
    if (newUnit !== style.unit) {
      style.unit = newUnit;
      showScale();
    }
    restyleRoute();
    return true;
  };

  // The player's tooltip for the point of moment `moment`, shown only while the mouse still rests
  // on that point.
  window.showRouteTip = function (moment, text) {
    var t = parseMoment(moment);
    if (!hover.point || t < 0 || hover.t !== t) return false;
    showTip(hover.point, String(text));
    return true;
  };

  window.createPolyline = function () {
    closeChunk();
    return true;
  };

  window.reloadPolyline = function () {
    closeChunk();
    return true;
  };

  // One JSON object of texts by name; names the page does not know and texts that are not
  // non-empty strings are ignored, so a text the player lacks keeps the page's English.
  window.setPageTexts = function (json) {
    var given;
    try {
      given = JSON.parse(json);
    } catch (e) {
      return false;
    }
    if (!given || typeof given !== 'object') return false;
    for (var name in texts) {
      if (Object.prototype.hasOwnProperty.call(given, name) && typeof given[name] === 'string' &&
          given[name] !== '') {
        texts[name] = given[name];
      }
    }
    showTexts();
    return true;
  };

  // ---- Driving events ----

  // The clip's driving events: one JSON array of {t, lat, lon, kind, tip}, replacing the marks
  // shown; "[]" or a text that is not such an array removes them. Resting on a mark shows its tip;
  // a click on it is a click on the route at its moment.
  var eventMarks = [];
  var EVENT_COLOURS = {braking: '#d93025', acceleration: '#1f9d55', cornering: '#00acc1', impact: '#8e24aa'};
  window.setEventMarks = function (json) {
    for (var i = 0; i < eventMarks.length; i++) eventMarks[i].remove();
    eventMarks = [];
    var given;
    try {
      given = JSON.parse(json);
    } catch (e) {
      return false;
    }
    if (!Array.isArray(given)) return false;
    given.forEach(function (e) {
      var latlng = e && parseLatLng(String(e.lat), String(e.lon));
      var t = e ? parseMoment(e.t) : -1;
      if (!latlng || t < 0) return;
      var mark = L.circleMarker(latlng, {
        // A dark ring tells them from the white-ringed start and end of the route.
        renderer: renderer, radius: 8, weight: 3, color: '#202124',
        fillColor: EVENT_COLOURS[e.kind] || '#8e24aa', fillOpacity: 1, bubblingMouseEvents: false
      }).addTo(map);
      mark.bindTooltip(String(e.tip || ''), {direction: 'top', offset: [0, -8], className: 'korvane-tip'});
      mark.korvaneT = t;
      mark.on('click', function (click) {
        if (click.originalEvent) click.originalEvent.korvaneEventMark = true;
        clicks.last = {t: t, at: Date.now(), latlng: latlng, markerMs: 0};
        post('routeClick', {route: route.id, t: t});
      });
      eventMarks.push(mark);
    });
    return true;
  };

  // Where each event mark is on the page: [{x, y, t}], for tests that look at or click them.
  window.korvaneEventMarks = function () {
    return eventMarks.map(function (m) {
      var at = map.latLngToContainerPoint(m.getLatLng());
      return {x: Math.round(at.x), y: Math.round(at.y), t: m.korvaneT};
    });
  };

  // ---- Every route of the folder ----

  // The overview lines of the folder's clips, thin and grey in a pane under the route, so the
  // playing clip's route stays on top. setOverviewLines(set, json) replaces them with a new set,
  // addOverviewLines(set, json) adds to the set shown (clips that have just been indexed); json is
  // an array of {id, p: [lat, lon, t, lat, lon, t, …]}, id the player's number of the clip and t
  // the moment in it (ms). A click near one of them and not near the route tells the player the
  // clip and the moment of the nearest point: "overviewClick" {set, clip, t}.
  var OVERVIEW_STYLE = {color: '#6b7280', weight: 2, opacity: 0.8, interactive: false};
  map.createPane('korvaneOverview').style.zIndex = 350;
  var overviewRenderer = L.canvas({pane: 'korvaneOverview', padding: 0.5});
  var overview = {set: 0, lines: [], points: 0, projectedZoom: -1, bounds: null};

  function addOverview(json) {
    var given;
    try {
      given = JSON.parse(json);
    } catch (e) {
      return -1;
    }
    if (!Array.isArray(given)) return -1;
    var added = 0;
    given.forEach(function (line) {
      var id = line ? Number(line.id) : NaN;
      var p = line && Array.isArray(line.p) ? line.p : null;
      if (!p || !isFinite(id) || id < 0) return;
      var latlngs = [];
      for (var i = 0; i + 2 < p.length; i += 3) {
        var latlng = parseLatLng(String(p[i]), String(p[i + 1]));
        if (!latlng) continue;
        latlng.t = parseMoment(p[i + 2]);
        latlngs.push(latlng);
      }
      if (latlngs.length === 0) return;
      var polyline = L.polyline(latlngs, L.extend({renderer: overviewRenderer, pane: 'korvaneOverview'},
                                                  OVERVIEW_STYLE)).addTo(map);
      overview.lines.push({id: id, latlngs: latlngs, line: polyline, projected: null});
      overview.points += latlngs.length;
      var bounds = polyline.getBounds();
      if (overview.bounds) overview.bounds.extend(bounds);
      else overview.bounds = L.latLngBounds(bounds.getSouthWest(), bounds.getNorthEast());
      added++;
    });
    // Lines that widen the view bring it out to them, unless the user has taken the map over.
    if (added > 0 && !userMoved) fitView();
    return added;
  }

  // The toggle in the map's corner: it asks the player for the lines ("overviewToggle" {on}); the
  // player answers with setOverviewLines, whose set (0: none) the button shows as pressed or not.
  // It appears once the page has reached the player: alone in a browser there is nobody to ask.
  var routesToggle = L.control({position: 'topleft'});
  var routesButton = null;
  routesToggle.onAdd = function () {
    var bar = L.DomUtil.create('div', 'leaflet-bar korvane-routes');
    routesButton = L.DomUtil.create('a', '', bar);
    routesButton.href = '#';
    routesButton.setAttribute('role', 'button');
    routesButton.title = texts.allRoutes;
    routesButton.innerHTML =
        '<svg viewBox="0 0 24 24" width="18" height="18" fill="none" stroke="#333" stroke-width="1.8" ' +
        'stroke-linecap="round"><path d="M3 17c3-1 4-6 8-6s4 4 10 2" opacity="0.5"/>' +
        '<path d="M3 8c4 0 5 4 9 3s5-5 9-6" opacity="0.5"/><path d="M3 20c5-2 7-9 11-12s5-2 7-3"/></svg>';
    L.DomEvent.disableClickPropagation(bar);
    L.DomEvent.on(routesButton, 'click', function (e) {
      L.DomEvent.preventDefault(e);
      post('overviewToggle', {on: overview.set === 0 ? 1 : 0});
    });
    showToggle();
    return bar;
  };
  function showToggle() {
    if (routesButton) L.DomUtil[overview.set !== 0 ? 'addClass' : 'removeClass'](routesButton, 'korvane-on');
  }

  // ---- The clip's track: its own or the folder's imported GPX track ----

  // setTrackChoice(offered, gpx): the player offers the playing clip's choice (1) or not (0), and
  // says which track the clip plays from (gpx 1: the import). The two buttons side by side in the
  // top right corner ask the player for the other one ("trackChoice" {gpx}); it starts the clip again from
  // that track and answers with setTrackChoice. Like the toggle, they need the player to answer.
  var trackChoice = {offered: false, gpx: false, shown: false};
  var trackControl = L.control({position: 'topright'});
  var trackButtons = null;
  trackControl.onAdd = function () {
    var bar = L.DomUtil.create('div', 'leaflet-bar korvane-track');
    trackButtons = {};
    [['own', 0], ['gpx', 1]].forEach(function (kind) {
      var button = L.DomUtil.create('a', '', bar);
      button.href = '#';
      button.setAttribute('role', 'button');
      L.DomEvent.on(button, 'click', function (e) {
        L.DomEvent.preventDefault(e);
        if ((kind[1] === 1) !== trackChoice.gpx) post('trackChoice', {gpx: kind[1]});
      });
      trackButtons[kind[0]] = button;
    });
    L.DomEvent.disableClickPropagation(bar);
    showTrackChoice();
    return bar;
  };
  function showTrackChoice() {
    if (!trackButtons) return;
    trackButtons.own.textContent = texts.cameraTrack;
    trackButtons.gpx.textContent = texts.gpxTrack;
    L.DomUtil[trackChoice.gpx ? 'removeClass' : 'addClass'](trackButtons.own, 'korvane-on');
    L.DomUtil[trackChoice.gpx ? 'addClass' : 'removeClass'](trackButtons.gpx, 'korvane-on');
  }
  function placeTrackChoice() {
    var wanted = trackChoice.offered && program !== null;
    if (wanted === trackChoice.shown) return;
    trackChoice.shown = wanted;
    if (wanted) trackControl.addTo(map);
    else trackControl.remove();
  }
  window.setTrackChoice = function (offered, gpx) {
    trackChoice.offered = Number(offered) === 1;
    trackChoice.gpx = Number(gpx) === 1;
    placeTrackChoice();
    showTrackChoice();
    return true;
  };

  window.setOverviewLines = function (set, json) {
    for (var i = 0; i < overview.lines.length; i++) overview.lines[i].line.remove();
    overview.lines = [];
    overview.points = 0;
    overview.bounds = null;
    var id = Number(set);
    overview.set = isFinite(id) && id >= 0 ? id : 0;
    showToggle();
    return addOverview(json);
  };

  // Lines of an older set are dropped: the player has changed folder or turned the lines off.
  window.addOverviewLines = function (set, json) {
    if (Number(set) !== overview.set) return -1;
    return addOverview(json);
  };

  // The clip and moment of the overview point nearest `latlng` within PICK_PIXELS; null when none.
  function pickOverview(latlng) {
    var zoom = map.getZoom();
    var p = map.project(latlng, zoom);
    var best = null, bestDistance = PICK_PIXELS * PICK_PIXELS;
    for (var i = 0; i < overview.lines.length; i++) {
      var line = overview.lines[i];
      if (!line.projected || overview.projectedZoom !== zoom) {
        line.projected = line.latlngs.map(function (ll) { return map.project(ll, zoom); });
      }
      for (var k = 0; k < line.projected.length; k++) {
        var a = line.projected[k];
        var b = line.projected[Math.min(k + 1, line.projected.length - 1)];
        var d = L.LineUtil._sqClosestPointOnSegment(p, a, b, true);
        if (d <= bestDistance && line.latlngs[k].t >= 0) {
          bestDistance = d;
          var near = p.distanceTo(a) <= p.distanceTo(b) || line.latlngs[k + 1] === undefined ? k : k + 1;
          best = {clip: line.id, t: line.latlngs[near].t, latlng: line.latlngs[near]};
        }
      }
    }
    overview.projectedZoom = zoom;
    return best;
  }

  // The middle of an element in the page's pixels, [x, y].
  function centreOf(element) {
    var box = element.getBoundingClientRect();
    return [Math.round(box.left + box.width / 2), Math.round(box.top + box.height / 2)];
  }

  // Where on the page the point at `fraction` of the overview line of clip `id` lies: {x, y, t};
  // null without such a line. For tests that click it.
  window.korvaneOverviewPointAt = function (id, fraction) {
    for (var i = 0; i < overview.lines.length; i++) {
      var line = overview.lines[i];
      if (line.id !== Number(id)) continue;
      var f = Math.min(Math.max(Number(fraction) || 0, 0), 1);
      var point = line.latlngs[Math.round(f * (line.latlngs.length - 1))];
      var at = map.latLngToContainerPoint(point);
      return {x: Math.round(at.x), y: Math.round(at.y), t: point.t};
    }
    return null;
  };

  // ---- Read-back for tests and benchmarks ----

  window.korvaneMapState = function () {
    var pos = car.marker ? car.marker.getLatLng() : null;
    var drawn = 0;
    for (var i = 0; i < route.segments.length; i++) drawn += route.segments[i].getLatLngs().length;
    return {
      page: config.name || '',
      crs: config.crs || 'EPSG3857',
      points: route.count,
      pendingPoints: route.pending.length,
      segments: route.segments.length,
      drawnVertices: drawn,
      first: route.first ? [route.first.lat, route.first.lng] : null,
      last: route.last ? [route.last.lat, route.last.lng] : null,
      marker: pos ? [pos.lat, pos.lng] : null,
      markerCount: car.marker ? 1 : 0,
      heading: car.heading,
      fitted: route.fitted,
      carInView: pos ? map.getBounds().contains(pos) : false,
      zoom: map.getZoom(),
      tilesLoaded: tileState.loaded,
      tilesFailed: tileState.failed,
      noticeShown: noticeShown,
      noticeText: texts.tilesUnavailable,
      routeId: route.id,
      bySpeed: style.bySpeed,
      unit: style.unit,
      scale: scale.getContainer().textContent,
      colourRuns: colourRuns(),
      legend: legendShown && legendDiv ? legendDiv.textContent : '',
      timedPoints: route.timed.length,
      channel: program ? 1 : 0,
      markerMs: car.placedAt,
      hoverT: hover.t,
      eventMarks: eventMarks.length,
      overviewSet: overview.set,
      overviewLines: overview.lines.length,
      overviewPoints: overview.points,
      routesToggle: routesButton ? centreOf(routesButton) : null,
      trackChoice: [trackChoice.shown ? 1 : 0, trackChoice.gpx ? 1 : 0],
      cameraTrackButton: trackChoice.shown ? centreOf(trackButtons.own) : null,
      gpxTrackButton: trackChoice.shown ? centreOf(trackButtons.gpx) : null,
      tip: hover.tip && map.hasLayer(hover.tip) ? hover.tip.getContent() : '',
      lastClick: clicks.last ? {t: clicks.last.t, at: clicks.last.at, markerMs: clicks.last.markerMs} : null
    };
  };

  // How many runs of one colour the drawn route has, along the whole route whatever polylines it
  // was drawn as (0 for a route in one colour).
  function colourRuns() {
    var n = 0, last = null;
    function count(colour) {
      if (colour !== last) n++;
      last = colour;
    }
    for (var i = 0; i < route.segments.length; i++) {
      if (route.segments[i] instanceof SpeedLine) route.segments[i].eachStretchColour(count);
    }
    return n;
  }

  // Where on the page the timed route point at `fraction` (0 … 1) of the route lies, with its
  // moment: {x, y, t} in the page's pixels; null without such a point. For tests that click it.
  window.korvaneRoutePointAt = function (fraction) {
    if (route.timed.length === 0) return null;
    var f = Math.min(Math.max(Number(fraction) || 0, 0), 1);
    var point = route.timed[Math.round(f * (route.timed.length - 1))];
    var at = map.latLngToContainerPoint(point.latlng);
    return {x: Math.round(at.x), y: Math.round(at.y), t: point.t};
  };

  // Draws whatever the canvas renderer has scheduled for the next frame now, so a caller can time
  // "until drawn" without waiting for the display's frame clock.
  window.korvaneDrawNow = function () {
    [renderer, overviewRenderer].forEach(function (r) {
      if (r._redrawRequest) {
        L.Util.cancelAnimFrame(r._redrawRequest);
        r._redraw();
      }
    });
    return route.count;
  };

  // The reference the player's route hand-over is measured against: the same points given to
  // Leaflet in one call, on a line of its own.
  window.korvaneBenchSetLatLngs = function (flatLatLon) {
    var latlngs = new Array(flatLatLon.length / 2);
    for (var i = 0, j = 0; j < flatLatLon.length; i++, j += 2) {
      latlngs[i] = L.latLng(flatLatLon[j], flatLatLon[j + 1]);
    }
    if (!window.korvaneBenchLine) {
      window.korvaneBenchLine = L.polyline([], L.extend({renderer: renderer}, ROUTE_STYLE)).addTo(map);
    }
    window.korvaneBenchLine.setLatLngs(latlngs);
    return latlngs.length;
  };

  window.korvaneBenchClear = function () {
    if (window.korvaneBenchLine) {
      window.korvaneBenchLine.remove();
      window.korvaneBenchLine = null;
    }
    clearRoute();
    return true;
  };
})();
