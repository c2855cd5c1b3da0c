// qavex automatic login: finds the login form (by the bookmark's identifiers, or the way a careful
// password manager does without them), fills it and submits it. Every call names the origin qavex
// has checked; a document, or a frame, of any other origin is refused at the moment of the call, so
// a page that has gone elsewhere in between gets nothing. Runs beside automation.js.
(function () {
    'use strict';
    const qavex = window.__qavex;
    if (!qavex || qavex.loginReady)
        return;
    qavex.loginReady = true;
    const { findElement, clickLink, clickButton, setValue, lower } = qavex.lib;

    const AccountHint = /user|email|e-mail|login|account|phone|mobile|identifier|账号|帳號|帐号|用户|邮箱|手机/i;
    const SearchHint = /search|query|keyword|搜索|查找/i;
    const SubmitHint = /log ?in|sign ?in|submit|next|continue|登录|登入|提交|下一步|继续|确定/i;

    // The fields filled by the last fill, waiting for the submit that checks them.
    let pending = null;

    function effectivePort(location) {
        if (location.port)
            return Number(location.port);
        return location.protocol === 'https:' ? 443 : location.protocol === 'http:' ? 80 : -1;
    }

    function onOrigin(doc, origin) {
        let location = null;
        try {
            location = doc.location;
        } catch (error) {
            return false;
        }
        if (!location || !origin || location.protocol !== origin.scheme + ':')
            return false;
        if (origin.scheme === 'file')
            return location.pathname === origin.path;
        return location.hostname === origin.host && effectivePort(location) === origin.port;
    }

    // The top document and its frames of the same origin, the top first; other frames are not entered.
    function documents(origin) {
        const found = [];
        const walk = doc => {
            if (!onOrigin(doc, origin))
                return;
            found.push(doc);
            for (const frame of doc.querySelectorAll('iframe, frame')) {
                let inner = null;
                try {
                    inner = frame.contentDocument;
                } catch (error) {
                    inner = null;
                }
                if (inner)
                    walk(inner);
            }
        };
        walk(document);
        return found;
    }

    function isInput(element) {
        return lower(element.tagName) === 'input';
    }

    function isPasswordInput(element) {
        return isInput(element) && lower(element.type) === 'password';
    }

    function isTextInput(element) {
        return isInput(element) && ['text', 'email', 'tel'].includes(lower(element.type));
    }

    // Shown where the user could see it: laid out, not invisible, not see-through.
    function isShown(element) {
        if (!element.isConnected || lower(element.type) === 'hidden')
            return false;
        const style = element.ownerDocument.defaultView.getComputedStyle(element);
        if (style.visibility !== 'visible' || Number(style.opacity) === 0)
            return false;
        const box = element.getBoundingClientRect();
        return box.width > 0 && box.height > 0;
    }

    function isTypable(element) {
        return !element.disabled && !element.readOnly;
    }

    function describe(element) {
        return [element.name, element.id, element.placeholder, element.autocomplete,
                element.getAttribute('aria-label')].join(' ');
    }

    // A field that asks for the account on a page of its own (the first step of two).
    function looksLikeAccount(element) {
        if (lower(element.type) === 'email' || /username|email/.test(lower(element.autocomplete)))
            return true;
        const words = describe(element);
        return AccountHint.test(words) && !SearchHint.test(words);
    }

    // Where a field stands: 'ok', 'missing', 'hidden', or 'unusable' (disabled, read-only, or a
    // password that would land in something other than a password input).
    function fieldState(element, isPassword) {
        if (!element)
            return 'missing';
        if (isPassword && !isPasswordInput(element))
            return 'unusable';
        if (!isShown(element))
            return 'hidden';
        return isTypable(element) ? 'ok' : 'unusable';
    }

    function usable(element, isPassword) {
        return fieldState(element, isPassword) === 'ok';
    }

    // The form by the stored identifiers: the first document in which one of them names an element.
    function identifiedForm(login, docs) {
        for (const doc of docs) {
            const account = login.accountId ? findElement(login.accountId, login.fieldKind, doc) : null;
            const password = login.passwordId ? findElement(login.passwordId, login.fieldKind, doc) : null;
            if (account || password)
                return { doc, account, password };
        }
        return { doc: null, account: null, password: null };
    }

    // The nearest usable text field before the password: in its form when it has one, else in the
    // document outside any form.
    function accountBefore(password, inputs) {
        const before = inputs.slice(0, inputs.indexOf(password));
        const candidates = before.filter(element => isTextInput(element) && usable(element, false) &&
                                                    element.form === password.form &&
                                                    !SearchHint.test(describe(element)));
        return candidates.length ? candidates[candidates.length - 1] : null;
    }

    function detectedForm(docs) {
        for (const doc of docs) {
            const inputs = Array.from(doc.querySelectorAll('input'));
            const password = inputs.find(element => isPasswordInput(element) && usable(element, true));
            if (password)
                return { doc, account: accountBefore(password, inputs), password };
        }
        for (const doc of docs) {
            const account = Array.from(doc.querySelectorAll('input'))
                                .find(element => isTextInput(element) && usable(element, false) &&
                                                 looksLikeAccount(element));
            if (account)
                return { doc, account, password: null };
        }
        return { doc: null, account: null, password: null };
    }

    function hasPasswordField(doc) {
        return Array.from(doc.querySelectorAll('input')).some(element => isPasswordInput(element) && isShown(element));
    }

    function isSubmitter(element) {
        const tag = lower(element.tagName);
        return (tag === 'button' && lower(element.type) === 'submit') ||
               (tag === 'input' && ['submit', 'image'].includes(lower(element.type)));
    }

    function isButtonLike(element) {
        const tag = lower(element.tagName);
        return tag === 'button' || lower(element.getAttribute('role')) === 'button' ||
               (tag === 'input' && ['submit', 'image', 'button'].includes(lower(element.type)));
    }

    function caption(element) {
        return [element.innerText, element.value, element.getAttribute('aria-label'), element.id,
                element.name].join(' ');
    }

    // What a user would press after the field: its form's submit control, else the nearest button
    // after it (one that reads like a login first); null when there is none.
    function submitControlAfter(field) {
        if (field.form) {
            const inForm = Array.from(field.form.elements).find(element => isSubmitter(element) && isShown(element));
            if (inForm)
                return inForm;
        }
        const after = Array.from(field.ownerDocument.querySelectorAll('button, input, [role=button]'))
                          .filter(element => isButtonLike(element) && isShown(element) &&
                                             (!element.form || element.form === field.form) &&
                                             (field.compareDocumentPosition(element) & Node.DOCUMENT_POSITION_FOLLOWING));
        return after.find(element => SubmitHint.test(caption(element))) || after[0] || null;
    }

    function holds(element, value) {
        const squeeze = text => String(text).replace(/\s/g, '');
        return element.isConnected && isShown(element) &&
               (element.value === value || squeeze(element.value) === squeeze(value));
    }

    // One look at the page: fill the form when it is all there. Answers
    //   {r: 'moved'}                the top document is not of the origin checked
    //   {r: 'filled'}               every field with an identifier (or the detected form) filled
    //   {r: 'account'}              only the account field, filled: the first of two steps
    //   {r: 'waiting', why}         not yet: 'missing', 'hidden', 'unusable' or 'account-only'
    function fill(origin, login, step, accountStepAllowed) {
        pending = null;
        const docs = documents(origin);
        if (!docs.length)
            return { r: 'moved' };
        const identified = login.accountId !== '' || login.passwordId !== '';
        if (!identified && login.account === '' && login.password === '') {
            // Nothing to type: only the stored control is pressed.
            pending = { doc: document, fields: [], step: 'login' };
            return { r: 'filled' };
        }
        if (identified && login.fieldKind < 0)
            return { r: 'waiting', why: 'missing' };
        const form = identified ? identifiedForm(login, docs) : detectedForm(docs);
        // A found password field with no account field before it is a page that knows the account
        // already (the second step, or a returning user's page): the password alone is sent.
        const accountUnasked = identified ? !login.accountId : form.password && !form.account;
        const accountState = accountUnasked ? 'none' : fieldState(form.account, false);
        const passwordState = identified && !login.passwordId ? 'none' : fieldState(form.password, true);
        const wantsPassword = !identified ? login.password !== '' : passwordState !== 'none';

        const fields = [];
        if (step === 'password' || !wantsPassword) {
            // The account may be asked again beside the password; it is filled when it is there.
            if (wantsPassword && passwordState !== 'ok')
                return { r: 'waiting', why: passwordState };
            if (!wantsPassword && accountState !== 'ok')
                return { r: 'waiting', why: accountState };
            if (accountState === 'ok' && (step !== 'password' || login.account !== ''))
                fields.push({ element: form.account, value: login.account });
            if (wantsPassword)
                fields.push({ element: form.password, value: login.password });
        } else if (passwordState === 'ok' && ['ok', 'none'].includes(accountState)) {
            if (accountState === 'ok')
                fields.push({ element: form.account, value: login.account });
            fields.push({ element: form.password, value: login.password });
        } else if (accountState === 'ok' && ['missing', 'hidden'].includes(passwordState) && login.password !== '' &&
                   !docs.some(hasPasswordField)) {
            // A page with some other password field is a one-page form whose password identifier
            // is out of date: sending it now would send it without the password.
            if (!accountStepAllowed)
                return { r: 'waiting', why: 'account-only' };
            setValue(form.account, login.account);
            pending = { doc: form.doc, fields: [{ element: form.account, value: login.account }], step: 'account' };
            return { r: 'account' };
        } else {
            return { r: 'waiting', why: accountState === 'ok' || accountState === 'none' ? passwordState : accountState };
        }
        for (const field of fields)
            setValue(field.element, field.value);
        pending = { doc: form.doc, fields, step: 'login' };
        return { r: 'filled' };
    }

    // The stored control, in the document of the fields: by id or name it must also be enabled.
    function clickStored(login, doc) {
        const kind = login.buttonKind;
        if (kind === 0 || kind === 1) {
            const element = findElement(login.buttonId, kind, doc);
            if (!element)
                return 'no-control';
            if (element.disabled)
                return 'disabled';
            element.click();
            return 'submitted';
        }
        const clicked = login.buttonIsLink ? clickLink(login.buttonId, kind, false, login.buttonIndex, doc)
                                           : clickButton(login.buttonId, kind, false, login.buttonIndex, doc);
        return clicked ? 'submitted' : 'no-control';
    }

    // Presses the control that sends what the last fill typed, after checking, in this same call,
    // that the document is still of the origin checked and every field still holds its value.
    //   {r: 'submitted'} | {r: 'invalid'} (pressed, but the page's checks refused the form)
    //   | {r: 'moved'} | {r: 'lost'} (refill) | {r: 'no-control'} | {r: 'disabled'}
    function submit(origin, login) {
        if (!pending)
            return { r: 'lost' };
        const { doc, fields, step } = pending;
        if (!onOrigin(document, origin) || !onOrigin(doc, origin))
            return { r: 'moved' };
        if (!fields.every(field => holds(field.element, field.value))) {
            pending = null;
            return { r: 'lost' };
        }
        const last = fields.length ? fields[fields.length - 1].element : null;
        if (step === 'login' && login.buttonId !== '') {
            if (login.buttonKind < 0)
                return { r: 'no-control' };
            const valid = isValid(last);
            const answer = clickStored(login, doc);
            if (answer !== 'submitted')
                return { r: answer };
            pending = null;
            return { r: valid ? 'submitted' : 'invalid' };
        }
        if (!last)
            return { r: 'no-control' };
        const control = submitControlAfter(last);
        if (control && control.disabled)
            return { r: 'disabled' };
        const valid = isValid(last);
        if (control)
            control.click();
        else if (last.form)
            last.form.requestSubmit();
        else
            return { r: 'no-control' };
        pending = null;
        return { r: valid ? 'submitted' : 'invalid' };
    }

    // A form the page's own checks refuse is not sent; the page then tells the user why.
    function isValid(field) {
        return !field || !field.form || field.form.noValidate || field.form.checkValidity();
    }

    qavex.define({
        loginFill: fill,
        loginSubmit: submit,
    });
})();
