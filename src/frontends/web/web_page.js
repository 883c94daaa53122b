// The page's half of the web front end (declared in web_page.h): it makes and styles the
// elements it is told to, queues the person's actions and the clocks' ticks for the
// program, which takes them one at a time, and shows the modal message box. It decides
// nothing about the form.
mergeInto(LibraryManager.library, {
  $page__postset: 'page.start();',
  $page: {
    elements: [],
    queue: [],
    waiting: null, // resolves the program's wait for an event
    idle: [],      // resolves Module.idle(): the program waits for the next action
    current: null,
    clocks: [],
    ended: false,
    taken: false,
    start: function () {
      var client = document.getElementById('client');
      page.elements[0] = client;
      client.addEventListener('input', function (e) {
        page.push({ kind: 1, element: page.number(e.target), text: e.target.value });
      });
      client.addEventListener('click', function (e) {
        var n = page.number(e.target);
        if (n) page.push({ kind: 2, element: n });
      });
      client.addEventListener('keydown', function (e) {
        if (e.key !== 'Enter') return;
        e.preventDefault(); // the program says which button Enter presses, if any
        page.push({ kind: 4, element: page.number(document.activeElement),
                    value: (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0) });
      });
      // The faces decode while the program compiles, rather than once the form needs them.
      document.fonts.forEach(function (face) { face.load(); });
      Module.idle = function () {
        return new Promise(function (resolve) { page.idle.push(resolve); });
      };
    },
    number: function (element) {
      var n = page.elements.indexOf(element);
      return n > 0 ? n : 0;
    },
    push: function (event) {
      if (page.ended) return;
      // A clock's tick that is still waiting stands for any that come after it.
      if (event.kind === 3 && page.queue.some(function (q) {
        return q.kind === 3 && q.element === event.element;
      })) return;
      if (!page.waiting) return void page.queue.push(event);
      var wake = page.waiting;
      page.waiting = null;
      page.current = event;
      wake(event.kind);
    },
    // UTF-16 both ways, unit for unit, so a lone surrogate crosses unchanged.
    read: function (pointer, length) {
      var out = '', start = pointer >> 1;
      for (var i = 0; i < length; i += 4096) {
        var end = start + Math.min(length, i + 4096);
        out += String.fromCharCode.apply(null, HEAPU16.subarray(start + i, end));
      }
      return out;
    },
    write: function (text, pointer, capacity) {
      for (var i = 0; i < Math.min(text.length, capacity); i++) {
        HEAPU16[(pointer >> 1) + i] = text.charCodeAt(i);
      }
      return text.length;
    }
  },
  pelmora_title__deps: ['$page'],
  pelmora_title: function (title, length) { document.title = page.read(title, length); },
  pelmora_add: function (html, numbers, count) {
    var client = page.elements[0];
    // The first elements take over from the same form index.html drew at start, in one
    // step before the next frame; until now it took no actions that would have been lost.
    if (!page.taken) {
      page.taken = true;
      client.replaceChildren();
      client.inert = page.ended;
    }
    var first = client.children.length;
    client.insertAdjacentHTML('beforeend', UTF8ToString(html));
    for (var k = 0; k < count; k++) {
      page.elements[HEAP32[(numbers >> 2) + k]] = client.children[first + k];
    }
  },
  pelmora_style: function (n, style) {
    var s = page.elements[n].style;
    UTF8ToString(style).split(';').forEach(function (declaration) {
      var colon = declaration.indexOf(':');
      if (colon > 0) s.setProperty(declaration.slice(0, colon), declaration.slice(colon + 1));
    });
  },
  pelmora_text: function (n, text, length) {
    var element = page.elements[n];
    if (element.tagName === 'INPUT') element.value = page.read(text, length);
    else element.textContent = page.read(text, length);
  },
  pelmora_checked: function (n, checked) { page.elements[n].checked = !!checked; },
  pelmora_caret: function (n) { return page.elements[n].selectionStart || 0; },
  pelmora_value: function (n, out, capacity) {
    return page.write(page.elements[n].value, out, capacity);
  },
  pelmora_set_caret: function (n, caret) { page.elements[n].setSelectionRange(caret, caret); },
  pelmora_append: function (n) { page.elements[0].appendChild(page.elements[n]); },
  pelmora_focus: function (n) {
    // In the next frame, which lays the page out anyway, rather than laying it out now.
    requestAnimationFrame(function () { page.elements[n].focus(); });
  },
  pelmora_clock: function (timer, interval, running) {
    clearInterval(page.clocks[timer]);
    if (running && !page.ended) page.clocks[timer] = setInterval(function () {
      page.push({ kind: 3, element: timer });
    }, interval);
  },
  pelmora_next_event__deps: ['$page'],
  pelmora_next_event: function () {
    return Asyncify.handleAsync(function () {
      if (page.queue.length) {
        page.current = page.queue.shift();
        return Promise.resolve(page.current.kind);
      }
      page.idle.splice(0).forEach(function (resolve) { resolve(); });
      return new Promise(function (resolve) { page.waiting = resolve; });
    });
  },
  pelmora_event_element: function () { return page.current.element; },
  pelmora_event_value: function () { return page.current.value || 0; },
  pelmora_event_text: function (out, capacity) {
    return page.write(page.current.text || '', out, capacity);
  },
  pelmora_message_box: function (prompt, promptLength, flags, title, titleLength) {
    var text = page.read(prompt, promptLength), caption = page.read(title, titleLength);
    return Asyncify.handleAsync(function () {
      var box = document.getElementById('box');
      document.getElementById('box-title').textContent = caption;
      document.getElementById('box-text').textContent = text;
      document.getElementById('box-stop').hidden = (flags & 0x70) !== 16;
      return new Promise(function (resolve) {
        box.addEventListener('close', function () { resolve(); }, { once: true });
        box.showModal();
      });
    });
  },
  pelmora_time_of_day: function (out, capacity) {
    return page.write(new Date().toLocaleTimeString(), out, capacity);
  },
  pelmora_announce: function (text, length) {
    document.getElementById('live').replaceChildren(page.read(text, length));
  },
  pelmora_after_turn: function () {
    setTimeout(function () { page.push({ kind: 5, element: 0 }); });
  },
  pelmora_end: function () {
    page.ended = true;
    page.queue.length = 0;
    page.clocks.forEach(clearInterval);
    page.elements[0].inert = true;
  }
});
