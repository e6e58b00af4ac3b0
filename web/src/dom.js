// Building the page's elements. Texts always go in as text nodes, never as
// markup: a place name or a person's name from a file cannot become HTML.

// el('p', {class: 'hint'}, 'text', child, …); attributes starting with "on"
// are event handlers, `false`/null/undefined attributes are left out.
export function el(tag, attributes = {}, ...children) {
    const element = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes)) {
        if (value === false || value === null || value === undefined)
            continue;
        if (name.startsWith('on') && typeof value === 'function')
            element.addEventListener(name.slice(2), value);
        else if (name === 'class')
            element.className = value;
        else
            element.setAttribute(name, value === true ? '' : String(value));
    }
    append(element, children);
    return element;
}

function append(element, children) {
    for (const child of children) {
        if (child === null || child === undefined || child === false)
            continue;
        if (Array.isArray(child))
            append(element, child);
        else
            element.append(child instanceof Node ? child : document.createTextNode(String(child)));
    }
}

export function byId(id) {
    const element = document.getElementById(id);
    if (!element)
        throw new Error(`the page has no element #${id}`);
    return element;
}

// Shows `text` in an element that is hidden while it has none.
export function showMessage(element, text) {
    element.textContent = text ?? '';
    element.hidden = !text;
}
