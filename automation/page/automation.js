// qavex page automation. Runs in an isolated world: the page's own scripts can neither see nor
// replace it. Each call from qavex names one operation and passes its arguments as JSON; objects
// handed back to qavex are kept in a registry here and travel as {h, t} handles.
(function () {
    'use strict';
    if (window.__qavex)
        return;

    const ByName = 0, ById = 1, ByIndex = 2, ByTitle = 3, ByAddress = 4;
    // A new document gets a new token: a handle from the page before leads nowhere.
    const token = Math.random().toString(36).slice(2) + Date.now().toString(36);
    const objects = new Map();
    let nextId = 1;

    function handle(object) {
        if (object === null || object === undefined)
            return null;
        const id = nextId++;
        objects.set(id, object);
        return { h: id, t: token };
    }

    function resolve(value) {
        if (!value || typeof value !== 'object' || value.t !== token)
            return null;
        return objects.get(value.h) || null;
    }

    function text(value) {
        return value === null || value === undefined ? '' : String(value);
    }

    function lower(value) {
        return text(value).toLowerCase();
    }

    // An empty identifier names nothing: clicking "the first link that contains nothing" would
    // click whatever link comes first.
    function matches(candidate, identifier, exact) {
        if (identifier === '')
            return false;
        return exact ? text(candidate) === identifier : lower(candidate).includes(lower(identifier));
    }

    function findElement(identifier, kind, doc = document) {
        if (identifier === '')
            return null;
        if (kind === ByName)
            return doc.getElementsByName(identifier).item(0);
        return doc.getElementById(identifier);
    }

    function isButtonLike(input) {
        return ['submit', 'button', 'reset', 'image'].includes(lower(input.type));
    }

    // The value goes in through the element's own native setter, and the page hears it as typed:
    // pages that keep their state from input events (React, Vue) see the text.
    function setValue(element, value) {
        let proto = Object.getPrototypeOf(element);
        let setter = null;
        while (proto && !setter) {
            const descriptor = Object.getOwnPropertyDescriptor(proto, 'value');
            setter = descriptor && descriptor.set;
            proto = Object.getPrototypeOf(proto);
        }
        if (setter)
            setter.call(element, value);
        else
            element.value = value;
        element.dispatchEvent(new Event('input', { bubbles: true }));
        element.dispatchEvent(new Event('change', { bubbles: true }));
    }

    function clickFirst(candidates, accept) {
        for (const candidate of candidates) {
            if (accept(candidate)) {
                candidate.click();
                return true;
            }
        }
        return false;
    }

    // By id or name any element is clicked, link or button or not.
    function clickFound(identifier, kind, doc) {
        const element = findElement(identifier, kind, doc);
        if (!element)
            return false;
        element.click();
        return true;
    }

    function clickLink(identifier, kind, exact, index, doc = document) {
        const links = Array.from(doc.getElementsByTagName('a'));
        switch (kind) {
        case ById:
        case ByName:
            return clickFound(identifier, kind, doc);
        case ByIndex:
            if (index < 1 || index > links.length)
                return false;
            links[index - 1].click();
            return true;
        case ByTitle:
            return clickFirst(links, link => matches(link.innerText, identifier, exact));
        case ByAddress:
            return clickFirst(links, link => matches(link.href, identifier, exact));
        default:
            return false;
        }
    }

    function clickButton(identifier, kind, exact, index, doc = document) {
        const inputs = Array.from(doc.getElementsByTagName('input'));
        switch (kind) {
        case ById:
        case ByName:
            return clickFound(identifier, kind, doc);
        case ByIndex: {
            const buttons = inputs.filter(isButtonLike);
            if (index < 1 || index > buttons.length)
                return false;
            buttons[index - 1].click();
            return true;
        }
        case ByTitle:
            return clickFirst(inputs, input => isButtonLike(input) && matches(input.value, identifier, exact));
        case ByAddress:
            return clickFirst(inputs, input => lower(input.type) === 'image' && matches(input.src, identifier, exact));
        default:
            return false;
        }
    }

    // Forms match their name or id exactly, letter case included.
    function findForm(identifier, kind, index) {
        const forms = Array.from(document.forms);
        if (kind === ByName)
            return forms.find(form => text(form.getAttribute('name')) === identifier) || null;
        if (kind === ById)
            return forms.find(form => form.id === identifier) || null;
        if (kind === ByIndex)
            return index >= 1 && index <= forms.length ? forms[index - 1] : null;
        return null;
    }

    // Frames and selection lists match without regard to letter case.
    function frameElements() {
        return Array.from(document.querySelectorAll('frame, iframe'));
    }

    function findFrame(identifier, kind, index) {
        if (kind === ByIndex)
            return index >= 1 && index <= window.frames.length ? window.frames[index - 1] : null;
        if (kind !== ByName && kind !== ById)
            return null;
        const wanted = lower(identifier);
        const element = frameElements().find(frame =>
            lower(kind === ByName ? frame.getAttribute('name') : frame.id) === wanted);
        return element ? element.contentWindow : null;
    }

    function findSelectList(identifier, kind, index) {
        const lists = document.body ? Array.from(document.body.getElementsByTagName('select')) : [];
        if (kind === ByIndex)
            return index >= 1 && index <= lists.length ? lists[index - 1] : null;
        if (kind !== ByName && kind !== ById)
            return null;
        const wanted = lower(identifier);
        return lists.find(list => lower(kind === ByName ? list.getAttribute('name') : list.id) === wanted) || null;
    }

    function item(collection, position) {
        if (!collection || position < 1 || position > collection.length)
            return null;
        return collection[position - 1];
    }

    function selectionRange() {
        const selection = window.getSelection();
        return selection && selection.rangeCount > 0 ? selection.getRangeAt(0) : null;
    }

    const elementTexts = ['innerHTML', 'innerText', 'outerHTML', 'outerText'];

    const operations = {
        pageText(which) {
            if (which === 'outerHTML')
                return document.documentElement ? document.documentElement.outerHTML : '';
            if (which === 'innerText')
                return document.documentElement ? document.documentElement.innerText : '';
            return text(document[which]);
        },
        selectionText(asHtml) {
            const range = selectionRange();
            if (!range)
                return '';
            if (asHtml > 0) {
                const holder = document.createElement('div');
                holder.appendChild(range.cloneContents());
                return holder.innerHTML;
            }
            return range.toString();
        },
        pasteHtml(html) {
            const range = selectionRange();
            if (!range)
                return null;
            range.deleteContents();
            range.insertNode(range.createContextualFragment(html));
            return null;
        },
        frameCount() { return window.frames.length; },
        frame(identifier, kind, index) { return handle(findFrame(identifier, kind, index)); },
        frameElement(identifier, kind, index) {
            const frame = findFrame(identifier, kind, index);
            if (!frame)
                return null;
            return handle(frameElements().find(element => element.contentWindow === frame) || null);
        },
        navigate(address) { window.location.href = address; return null; },
        writeDocument(html) {
            document.open();
            document.write(html);
            document.close();
            return null;
        },
        documentProperty(name, argument) {
            const value = document[name];
            return text(typeof value === 'function' ? value.call(document, argument) : value);
        },
        elementsByTag(tag) { return handle(document.getElementsByTagName(tag)); },
        showPopup(left, top, width, height, html, background, border, anchor) {
            const popup = document.createElement('div');
            const origin = resolve(anchor);
            const base = origin && origin.getBoundingClientRect ? origin.getBoundingClientRect() : { left: 0, top: 0 };
            Object.assign(popup.style, {
                position: 'fixed', zIndex: '2147483647', overflow: 'hidden', boxSizing: 'border-box',
                left: (base.left + left) + 'px', top: (base.top + top) + 'px',
                width: width + 'px', height: height + 'px',
            });
            popup.style.backgroundColor = '#' + background;
            popup.style.border = border;
            popup.innerHTML = html;
            (document.body || document.documentElement).appendChild(popup);
            return handle(popup);
        },
        hidePopup(popup) {
            const element = resolve(popup);
            if (element)
                element.style.display = 'none';
            return null;
        },
        findElement(identifier, kind) { return handle(findElement(identifier, kind)); },
        setFieldValue(identifier, kind, value) {
            const element = findElement(identifier, kind);
            if (element)
                setValue(element, value);
            return !!element;
        },
        getFieldValue(identifier, kind) {
            const element = findElement(identifier, kind);
            return element ? text(element.value) : '';
        },
        clickLink(identifier, kind, exact, index) { return clickLink(identifier, kind, exact, index); },
        clickButton(identifier, kind, exact, index) { return clickButton(identifier, kind, exact, index); },
        elementFromPoint(x, y) { return handle(document.elementFromPoint(x, y)); },
        elementText(element, property) {
            const target = resolve(element);
            return target && elementTexts.includes(property) ? text(target[property]) : '';
        },
        setElementText(element, property, value) {
            const target = resolve(element);
            if (target && elementTexts.includes(property))
                target[property] = value;
            return null;
        },
        fireEvent(element, name) {
            const target = resolve(element);
            if (!target)
                return false;
            return target.dispatchEvent(new Event(lower(name).replace(/^on/, ''), { bubbles: true, cancelable: true }));
        },
        focus(element) {
            const target = resolve(element);
            if (target && target.focus)
                target.focus();
            return null;
        },
        setVisible(element, visible) {
            const target = resolve(element);
            if (!target)
                return null;
            if (lower(target.tagName) === 'input')
                target.type = visible ? 'text' : 'hidden';
            else
                target.style.display = visible ? 'block' : 'none';
            return null;
        },
        form(identifier, kind, index) { return handle(findForm(identifier, kind, index)); },
        submitForm(identifier, kind, index) {
            const form = findForm(identifier, kind, index);
            if (!form)
                return false;
            form.submit();
            return true;
        },
        group(name) { return handle(document.getElementsByName(name)); },
        selectList(identifier, kind, index) { return handle(findSelectList(identifier, kind, index)); },
        count(collection) {
            const target = resolve(collection);
            return target && target.length !== undefined ? target.length : 0;
        },
        isChecked(collection, position) {
            const element = item(resolve(collection), position);
            return !!element && element.checked === true;
        },
        setChecked(collection, position, checked) {
            const element = item(resolve(collection), position);
            if (element)
                element.checked = checked;
            return null;
        },
        itemValue(collection, position) {
            const element = item(resolve(collection), position);
            return element ? text(element.value) : '';
        },
        optionCount(list) {
            const target = resolve(list);
            return target && target.options ? target.options.length : 0;
        },
        option(list, position, property) {
            const target = resolve(list);
            const option = target && target.options ? item(target.options, position) : null;
            return option && (property === 'text' || property === 'value') ? text(option[property]) : '';
        },
        setOption(list, position, property, value) {
            const target = resolve(list);
            const option = target && target.options ? item(target.options, position) : null;
            if (option && (property === 'text' || property === 'value'))
                option[property] = value;
            return null;
        },
        selectedIndex(list) {
            const target = resolve(list);
            return target && target.selectedIndex !== undefined ? target.selectedIndex : 0;
        },
        setSelectedIndex(list, index) {
            const target = resolve(list);
            if (target && target.selectedIndex !== undefined)
                target.selectedIndex = index;
            return null;
        },
    };

    window.__qavex = {
        call(request) {
            const operation = operations[request.op];
            if (!operation)
                return { v: null };
            try {
                return { v: operation.apply(null, request.args) };
            } catch (error) {
                // A page that refuses (a cross-origin frame, a removed element) gives the empty result.
                return { v: null };
            }
        },
        // Further page scripts (the login finder) add their operations and share these helpers.
        define(more) {
            for (const name of Object.keys(more)) {
                if (!(name in operations))
                    operations[name] = more[name];
            }
        },
        lib: { findElement, clickLink, clickButton, setValue, text, lower },
    };
})();
