"""The program as a screen reader sees it: its accessibility tree over AT-SPI.

Labels are read here because a person reads them and no clipboard reaches them. Nodes
are found by the names a screen reader speaks; their values are read afresh each time,
never from a cache, since the program changes them while the test watches.
"""
from display import wait_until

try:
    import pyatspi
except ImportError:  # listing the scenarios needs no bus; running them checks for it
    pyatspi = None


class AccessibleApp:
    """The program's node on the accessibility bus, found by its process id, and lookups
    below it by the names a screen reader speaks. It only reads; it never invokes an
    action, since a person's clicks and keys go through X."""

    def __init__(self, pid):
        self.root = wait_until(lambda: self._find(pid), interval=0.2)
        if self.root is None:
            raise AssertionError('the program did not appear on the accessibility bus')
        self._by_name = None

    @staticmethod
    def _find(pid):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.get_process_id() == pid:
                return app
        return None

    def nodes(self, node=None):
        """Every node under the program, depth first."""
        node = node or self.root
        node.clear_cache()
        yield node
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                yield from self.nodes(child)

    def find(self, name, role=None):
        """The node a screen reader calls `name` (and, if given, of that role), or None."""
        if self._by_name is None:
            self._by_name = {}
            for n in self.nodes():
                self._by_name.setdefault(n.name, []).append(n)
        for n in self._by_name.get(name, []):
            if role is None or n.getRoleName() == role:
                return n
        return None

    def require(self, name, role=None):
        node = self.find(name, role)
        if node is None:
            raise AssertionError('no %s named "%s" in the accessibility tree' % (role or 'node', name))
        return node

    def dialogs(self):
        """The message windows open now: (title, texts of their labels)."""
        found = []
        for i in range(self.root.childCount):
            top = self.root.getChildAtIndex(i)
            if top is not None and top.getRoleName() in ('dialog', 'alert'):
                texts = [n.name for n in self.nodes(top) if n.getRoleName() == 'label']
                found.append((top.name, texts))
        return found


def text_of(node):
    """What a label or text box shows: its Text interface; for a label without one, its
    accessible value or description. None when the node exposes no text at all."""
    node.clear_cache()
    try:
        return node.queryText().getText(0, -1)
    except NotImplementedError:
        pass
    for attr in ('description',):
        value = getattr(node, attr, '')
        if value:
            return value
    return None


def label_text(app, name, role=None):
    node = app.require(name, role)
    text = text_of(node)
    if text is None:
        raise AssertionError('"%s" shows no text to a screen reader (no Text interface)' % name)
    return text


def is_checked(node):
    node.clear_cache()
    return node.getState().contains(pyatspi.STATE_CHECKED)
