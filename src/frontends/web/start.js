// The page's one script, inline at the end of index.html: it loads the program (pelmora.js)
// once the form, which index.html already holds as the program draws it at start, is on
// the screen. So neither reading the program's 200 KB nor compiling and starting it (some
// 40 ms) stands between the browser and its first frame, even on a busy machine.
//
// "On the screen" is the first contentful paint the browser reports; where it reports
// none, the second frame's callback (the first frame's own callback runs before it is
// painted).
(function () {
  // The faces start decoding now rather than when the first layout asks for them: the
  // text shows only once they have.
  document.fonts.forEach(function (face) { face.load(); });
  function load() {
    if (document.readyState === 'loading')
      return void document.addEventListener('DOMContentLoaded', load);
    var script = document.createElement('script');
    script.src = 'pelmora.js';
    document.body.appendChild(script);
  }
  var types = self.PerformanceObserver && PerformanceObserver.supportedEntryTypes;
  if (!types || types.indexOf('paint') < 0) {
    requestAnimationFrame(function () { requestAnimationFrame(load); });
    return;
  }
  new PerformanceObserver(function (list, observer) {
    if (!list.getEntriesByName('first-contentful-paint').length) return;
    observer.disconnect();
    load();
  }).observe({ type: 'paint', buffered: true });
})();
