// A paste an entry cannot hold whole is not taken. WebKit keeps at most 524,288 characters
// in an <input>, whatever its maxLength, and drops the rest of a longer paste without a
// word; the program would then go on with a text the person never gave it. Here such a
// paste leaves the entry as it was, and one message box says why. In an engine whose
// entries hold any length (Chromium, Firefox) nothing changes.
//
// Appended to the page's script (--post-js); it needs nothing from the program but the
// page's message box (web_page.js).
(function () {
  var everyEngineHolds = 524288;

  // How much of a text of `length` characters an entry of this engine keeps.
  function capacity(length) {
    var probe = document.createElement('input');
    probe.value = 'x'.repeat(length);
    return probe.value.length;
  }

  document.getElementById('client').addEventListener('beforeinput', function (e) {
    var entry = e.target, added = e.data;
    if (entry.tagName !== 'INPUT' || entry.type !== 'text') return;
    if (added == null && e.dataTransfer) added = e.dataTransfer.getData('text/plain');
    if (!added || added.length <= everyEngineHolds) return;
    var length = entry.value.length - (entry.selectionEnd - entry.selectionStart) + added.length;
    var most = capacity(length);
    if (most >= length) return;
    e.preventDefault();
    page.box('出错', '粘贴的文本有 ' + added.length + ' 个字符，这个浏览器的输入框最多只能容纳 ' +
             most + ' 个，所以没有粘贴。', 1);
  });
})();
