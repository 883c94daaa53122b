// Writes the page's index.html with the form as the program draws it at start, so the
// first frame is plain HTML: runs the site's own script under Node, with a stand-in for
// the few parts of the document it touches, up to its first wait for an action. The
// clock shows its first time only at its first tick, so the markup does not depend on when
// it is built.
//
// Everything that frame needs is inside the file: the style sheet and the script the
// template links come inline (the script allowed by its hash), since Firefox lays out
// nothing before a linked sheet has come and paints nothing before its load event, which
// waits for a linked script. The declarations the elements share go once into classes;
// only each one's place and stacking stay in its style.
//
// usage: node render_start.js TEMPLATE.html SITE-SCRIPT.js STYLE.css SCRIPT.js OUT.html
'use strict';
const crypto = require('crypto');
const fs = require('fs');
const vm = require('vm');

const [template, script, sheet, start, out] = process.argv.slice(2);
// An element keeps what it is given and writes itself out as HTML.
class Element {
  constructor(tag) {
    Object.assign(this, { tag, tagName: tag.toUpperCase(), attributes: new Map(),
                          css: new Map(), children: [], textContent: '' });
    this.style = { setProperty: (name, value) =>
      value ? this.css.set(name, value) : this.css.delete(name) };
  }
  setAttribute(name, value) {
    if (name !== 'style') return void this.attributes.set(name, value);
    for (const declaration of value.split(';').filter(Boolean)) {
      const colon = declaration.indexOf(':');
      this.css.set(declaration.slice(0, colon), declaration.slice(colon + 1));
    }
  }
  set value(value) { this.setAttribute('value', value); }
  set checked(on) { this.attributes[on ? 'set' : 'delete']('checked', ''); }
  appendChild(child) { this.children.push(child); return child; }
  replaceChildren() { this.children = []; }
  setSelectionRange() {}
  addEventListener() {}
  html() {
    if (this.css.size) this.attributes.set('style', [...this.css].map((d) => d.join(':')).join(';'));
    const open = '<' + this.tag + [...this.attributes].map(([name, value]) =>
      ' ' + name + (value && '="' + escape(value) + '"')).join('') + '>';
    if (this.tag === 'input') return open;
    return open + this.children.map((child) => child.html()).join('') +
           escape(this.textContent) + '</' + this.tag + '>';
  }
}
const client = new Element('div');
client.setAttribute('id', 'client');
const document = {
  title: '',
  addEventListener() {},
  createElement: (tag) => new Element(tag),
  getElementById: (id) => id === 'client' ? client : new Element('div'),
};
// What the program asks for later (the first focus, in the next frame) is not the markup's.
const context = { document, console, atob, TextDecoder, requestAnimationFrame() {},
                  setTimeout() {}, setInterval() {}, clearInterval() {} };
context.window = context.self = context;
vm.createContext(context);
vm.runInContext(fs.readFileSync(script, 'utf8'), context);
if (!client.children.length) throw new Error('the program made no elements at start');
client.setAttribute('inert', ''); // until the script takes it over

const looks = new Map(); // declarations -> class
for (const element of client.children) {
  const look = [...element.css].filter(([name]) => !/^(left|top|z-index)$/.test(name));
  const key = look.map((d) => d.join(':')).join(';');
  if (!looks.has(key)) looks.set(key, 'l' + looks.size);
  element.setAttribute('class', looks.get(key));
  look.forEach(([name]) => element.css.delete(name));
}
const code = fs.readFileSync(start, 'utf8');
const hash = crypto.createHash('sha256').update(code).digest('base64');
const escape = (s) => s.replace(/&/g, '&amp;').replace(/"/g, '&quot;').replace(/</g, '&lt;');
let page = fs.readFileSync(template, 'utf8');
for (const [place, text] of [
  ['<title>Pelmora</title>', '<title>' + escape(document.title) + '</title>'],
  ["script-src 'self'", "script-src 'self' 'sha256-" + hash + "'"],
  ['<link rel="stylesheet" href="fonts.css">', '<style>\n' + fs.readFileSync(sheet, 'utf8') +
    [...looks].map(([look, name]) => '#client>.' + name + '{' + look + '}\n').join('') + '</style>'],
  ['<div id="client"></div>', client.html()],
  ['<script src="start.js" async></script>', '<script>' + code + '</script>']]) {
  if (!page.includes(place)) throw new Error(template + ' has no ' + place);
  page = page.replace(place, () => text);
}
fs.writeFileSync(out, page);
