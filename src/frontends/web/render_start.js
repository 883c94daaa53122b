// Writes the page's index.html with the form as the program draws it at start, so the
// first frame is plain HTML: runs the site's own script under Node, with a stand-in for
// the few parts of the document it touches, up to its first wait for an action. The
// clock shows its first time only at its first tick, so the markup does not depend on when
// it is built.
//
// usage: node render_start.js TEMPLATE.html SITE-SCRIPT.js OUT.html
'use strict';
const fs = require('fs');
const vm = require('vm');

const [template, script, out] = process.argv.slice(2);
// An element keeps what it is given and writes itself out as HTML.
class Element {
  constructor(tag) {
    Object.assign(this, { tag, tagName: tag.toUpperCase(), attributes: new Map(),
                          css: new Map(), children: [], textContent: '' });
    this.style = { setProperty: (name, value) =>
      value ? this.css.set(name, value) : this.css.delete(name) };
  }
  setAttribute(name, value) { this.attributes.set(name, value); }
  set value(value) { this.setAttribute('value', value); }
  set checked(on) { this.attributes[on ? 'set' : 'delete']('checked', ''); }
  appendChild(child) { this.children.push(child); return child; }
  replaceChildren() { this.children = []; }
  setSelectionRange() {}
  addEventListener() {}
  html() {
    if (this.css.size) this.setAttribute('style', [...this.css].map((d) => d.join(':')).join(';'));
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

const escape = (s) => s.replace(/&/g, '&amp;').replace(/"/g, '&quot;').replace(/</g, '&lt;');
const html = fs.readFileSync(template, 'utf8');
for (const place of ['<title>Pelmora</title>', '<div id="client"></div>'])
  if (!html.includes(place)) throw new Error(template + ' has no ' + place);
const page = html
  .replace('<title>Pelmora</title>', '<title>' + escape(document.title) + '</title>')
  .replace('<div id="client"></div>', client.html());
fs.writeFileSync(out, page);
