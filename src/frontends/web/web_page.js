// The page's half of the web front end (web_page.h): makes and sets elements as told, queues
// the person's actions for the program, one at a time, shows the message box; decides nothing.
mergeInto(LibraryManager.library, {
  $page__postset: 'page.start();',
  $page: {
    elements: [], queue: [], clocks: [], current: null, ended: false,
    idle: [], // resolves Module.idle(): the program waits for the next action
    waiting: null, // resolves the program's wait for an event
    start: function () {
      const client = page.elements[0] = document.getElementById('client');
      page.fresh = new Map(); // the elements made since the last order, their styles as text
      const on = (what, handle) => client.addEventListener(what, handle);
      on('input', (e) => page.push({ kind: 1, element: e.target.number, text: e.target.value }));
      on('click', (e) => e.target.number && page.push({ kind: 2, element: e.target.number }));
      on('keydown', (e) => {
        if (e.key !== 'Enter') return;
        e.preventDefault(); // the program says which button Enter presses, if any
        const value = e.shiftKey | e.ctrlKey << 1 | e.altKey << 2; // Shift 1, Ctrl 2, Alt 4
        page.push({ kind: 4, element: document.activeElement.number || 0, value: value });
      });
      // As in a window, a press on what cannot take the focus (a label, the ground, the
      // page around) leaves the focus where it was, so Enter and Space still reach it.
      document.addEventListener('mousedown', (e) => e.target.tabIndex < 0 && e.preventDefault());
      // WebKit keeps at most 524,288 characters in an entry, whatever its maxLength, and drops
      // the rest of a longer paste unseen. Such a paste is refused whole, and a box says why;
      // what an entry holds is measured, so an engine that holds any length never shows it.
      on('beforeinput', (e) => {
        const entry = e.target, added = e.data == null && e.dataTransfer ?
          e.dataTransfer.getData('text/plain') : e.data;
        if (entry.type !== 'text' || !added || added.length <= 524288) return;
        const whole = entry.value.length + added.length - entry.selectionEnd + entry.selectionStart;
        const probe = Object.assign(document.createElement('input'), { value: 'x'.repeat(whole) });
        if (probe.value.length >= whole) return;
        e.preventDefault();
        page.box('出错', '粘贴的文本有 ' + added.length + ' 个字符，这个浏览器的输入框最多只能容纳 ' +
                 probe.value.length + ' 个，所以没有粘贴。', 1);
      });
      Module.idle = () => new Promise((resolve) => page.idle.push(resolve));
    },
    push: function (event) {
      if (page.ended) return;
      if (!page.waiting) return void page.queue.push(event);
      page.waiting((page.current = event).kind); // the program goes on only after this turn
      page.waiting = null;
    },
    // Shows the modal box, with the stop icon for view::MessageIcon::Stop; OK resolves it.
    box: function (title, text, icon) {
      const box = document.getElementById('box');
      document.getElementById('box-title').textContent = title;
      document.getElementById('box-text').textContent = text;
      document.getElementById('box-stop').hidden = icon !== 1;
      box.showModal();
      return new Promise((done) => box.addEventListener('close', () => done(), { once: true }));
    },
    // UTF-16 both ways, unit for unit, so a lone surrogate crosses unchanged.
    read: function (pointer, length) {
      let out = '';
      for (let at = pointer >> 1, end = at + length; at < end; at += 4096)
        out += String.fromCharCode.apply(null, HEAPU16.subarray(at, Math.min(end, at + 4096)));
      return out;
    },
    write: function (text, pointer, capacity) {
      for (let i = 0; i < Math.min(text.length, capacity); i++)
        HEAPU16[(pointer >> 1) + i] = text.charCodeAt(i);
      return text.length;
    }
  },
  pelmora_title: function (title, length) { document.title = page.read(title, length); },
  pelmora_make: function (n, kind) {
    // The first element takes over from the form index.html drew at start, all of it made
    // before the next frame; until now that took no actions, which would have been lost.
    if (page.elements.length === 1) {
      page.elements[0].replaceChildren();
      page.elements[0].inert = page.ended;
    }
    const element = document.createElement(kind === 3 ? 'button' : kind ? 'input' : 'div');
    if (kind === 1 || kind === 2) element.setAttribute('type', kind === 1 ? 'text' : 'checkbox');
    page.elements[0].appendChild(page.elements[n] = element).number = n; // for its events
    page.fresh.set(element, '');
  },
  pelmora_attribute: function (n, name, value, length) {
    page.elements[n].setAttribute(UTF8ToString(name), page.read(value, length));
  },
  pelmora_style: function (n, css, numbers) {
    let k = numbers >> 2;
    const element = page.elements[n], text = UTF8ToString(css).replace(/(#?)%/g, (_, hash) =>
      hash ? '#' + HEAP32[k++].toString(16).padStart(6, '0') : HEAP32[k++]);
    // A new element's style is gathered as text and parsed once: far quicker than one
    // declaration at a time, and the browser then styles it quicker too.
    const fresh = page.fresh.get(element);
    if (fresh !== undefined) return void page.fresh.set(element, fresh + text + ';');
    for (const declaration of text.split(';'))
      element.style.setProperty(...declaration.split(/:(.*)/));
  },
  pelmora_text: function (n, text, length, caret) {
    const element = page.elements[n];
    if (element.tagName !== 'INPUT') return void (element.textContent = page.read(text, length));
    element.value = page.read(text, length);
    element.setSelectionRange(caret, caret);
  },
  pelmora_caret: function (n) { return page.elements[n].selectionStart || 0; },
  pelmora_checked: function (n, checked) { page.elements[n].checked = !!checked; },
  pelmora_order: function (numbers, count) {
    page.fresh.forEach((style, element) => element.setAttribute('style', style));
    page.fresh.clear();
    // Only an element out of place moves: a focused one moved would lose the focus.
    const client = page.elements[0];
    for (let k = 0; k < count; k++) {
      const element = page.elements[HEAP32[(numbers >> 2) + k]];
      if (client.children[k] !== element) client.insertBefore(element, client.children[k]);
    }
  },
  // In the next frame, which lays the page out anyway, rather than laying it out now.
  pelmora_focus: function (n) { requestAnimationFrame(() => page.elements[n].focus()); },
  pelmora_clock: function (clock, interval, running) {
    clearInterval(page.clocks[clock]);
    // The program hears a tick only while it waits for an action; one due while it waits
    // inside a handler (a message box is up) is not kept, as the view would drop it.
    const tick = () => page.waiting && page.push({ kind: 3, element: clock });
    if (running && !page.ended) page.clocks[clock] = setInterval(tick, interval);
  },
  pelmora_next_event__deps: ['$page'],
  pelmora_next_event: function () {
    return Asyncify.handleAsync(() => {
      if (page.queue.length) return Promise.resolve((page.current = page.queue.shift()).kind);
      page.idle.splice(0).forEach((resolve) => resolve());
      return new Promise((resolve) => { page.waiting = resolve; });
    });
  },
  pelmora_event_element: function () { return page.current.element; },
  pelmora_event_value: function () { return page.current.value || 0; },
  pelmora_event_text: function (out, n) { return page.write(page.current.text || '', out, n); },
  pelmora_message_box: function (prompt, promptLength, icon, title, titleLength) {
    const text = page.read(prompt, promptLength), caption = page.read(title, titleLength);
    return Asyncify.handleAsync(() => page.box(caption, text, icon));
  },
  pelmora_local_time: function (clock, out, capacity) {
    // The locale's way, read off how it writes 1:02:03 in the morning and in the afternoon.
    const format = new Intl.DateTimeFormat(undefined, { timeStyle: 'medium' });
    const parts = (hour) => format.formatToParts(new Date(2000, 0, 1, hour, 2, 3));
    const period = (hour) => (parts(hour).find((p) => p.type === 'dayPeriod') || {}).value || '';
    const letters = { hour: /h1[12]/.test(format.resolvedOptions().hourCycle) ? 'h' : 'H',
                      minute: 'm', second: 's', dayPeriod: 't' }; // tt: the whole word
    const pattern = parts(1).map(({ type, value }) => letters[type] ?
      letters[type].repeat(value.length) : "'" + value.replace(/'/g, "''") + "'").join('');
    const now = new Date();
    HEAP32.set([now.getHours(), now.getMinutes(), now.getSeconds()], clock >> 2);
    return page.write([pattern, period(1), period(13)].join('\n'), out, capacity);
  },
  pelmora_announce: function (text, length) {
    document.getElementById('live').textContent = page.read(text, length);
  },
  pelmora_after_turn: function () { setTimeout(() => page.push({ kind: 5, element: 0 })); },
  pelmora_end: function () {
    page.ended = page.elements[0].inert = true;
    page.queue.length = 0;
    page.clocks.forEach(clearInterval);
  }
});
