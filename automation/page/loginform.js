// qavex login form finder: which form on a page is a login form and which of its fields take the
// account and the password, the way the browsers' password managers decide it. Forms are classed
// from what the page says (autocomplete tokens, the number of password fields, the words of the
// form, its buttons and its heading); a field counts only when a person could type into it.
// Runs beside automation.js; login.js uses it.
(function () {
    'use strict';
    const qavex = window.__qavex;
    if (!qavex || qavex.lib.loginForm)
        return;
    const { lower } = qavex.lib;

    const LoginWords = /log ?in|sign ?in|log ?on|登录|登入|登陆|登錄/i;
    const SignUpWords = /sign ?up|register|registration|create (an )?account|join|注册|註冊|创建账号|创建帐号|创建账户|开户/i;
    const ChangeWords = /change password|reset password|new password|修改密码|更改密码|重设密码|重置密码/i;
    const AccountHint = /user|email|e-mail|login|account|phone|mobile|identifier|账号|帳號|帐号|用户|邮箱|手机/i;
    const SearchHint = /search|query|keyword|搜索|查找/i;
    const CodeHint = /otp|totp|2fa|one.?time|verif|code|验证码|动态码|安全码|校验码/i;
    // Input types a person types an account into; url, number, dates and the rest never are.
    const AccountTypes = ['text', 'email', 'tel', ''];
    // Autocomplete tokens that say a field is something other than an account.
    const AccountTokens = ['', 'on', 'off', 'username', 'email', 'tel', 'webauthn'];

    function tokens(element) {
        return lower(element.getAttribute('autocomplete')).split(/\s+/).filter(Boolean);
    }

    function hasToken(element, token) {
        return tokens(element).includes(token);
    }

    function isInput(element) {
        return lower(element.tagName) === 'input';
    }

    function isPasswordInput(element) {
        return isInput(element) && lower(element.type) === 'password';
    }

    function labelText(element) {
        let text = '';
        try {
            for (const label of element.labels || [])
                text += ' ' + label.textContent;
        } catch (error) {
            // Inputs of some types have no labels.
        }
        return text;
    }

    function describe(element) {
        return [element.name, element.id, element.placeholder, element.getAttribute('aria-label'),
                labelText(element)].join(' ');
    }

    // Every input of a document or shadow root, the open shadow roots inside it searched too.
    function deepInputs(root) {
        const found = [];
        const walk = node => {
            for (const element of node.querySelectorAll('*')) {
                if (isInput(element))
                    found.push(element);
                if (element.shadowRoot)
                    walk(element.shadowRoot);
            }
        };
        walk(root);
        return found;
    }

    // The rectangle of `element` left after every ancestor that clips its content has cut it.
    function visibleBox(element) {
        const box = element.getBoundingClientRect();
        let left = box.left, top = box.top, right = box.right, bottom = box.bottom;
        const view = element.ownerDocument.defaultView;
        for (let node = element.parentElement || (element.getRootNode() || {}).host; node;
             node = node.parentElement || (node.getRootNode() || {}).host) {
            const style = view.getComputedStyle(node);
            if (Number(style.opacity) === 0)
                return null;
            const clips = style.overflowX !== 'visible' || style.overflowY !== 'visible' ||
                          (style.clip && style.clip !== 'auto') || (style.clipPath && style.clipPath !== 'none');
            if (!clips)
                continue;
            const outer = node.getBoundingClientRect();
            left = Math.max(left, outer.left);
            top = Math.max(top, outer.top);
            right = Math.min(right, outer.right);
            bottom = Math.min(bottom, outer.bottom);
            if (style.clip && /rect\(\s*0(px)?[ ,]+0(px)?[ ,]+0(px)?[ ,]+0(px)?\s*\)/.test(style.clip))
                return null;
        }
        return { left, top, right, bottom };
    }

    // The element a person would hit at `box`'s centre is the field (or its own label); something
    // laid over it is not. Only within the window: below the fold the page scrolls to it.
    function uncovered(element, box) {
        const view = element.ownerDocument.defaultView;
        const x = (box.left + box.right) / 2, y = (box.top + box.bottom) / 2;
        if (x < 0 || y < 0 || x >= view.innerWidth || y >= view.innerHeight)
            return true;
        const root = element.getRootNode();
        const hit = root.elementFromPoint ? root.elementFromPoint(x, y) : null;
        if (!hit || hit === element || element.contains(hit))
            return true;
        const label = hit.closest('label');
        return !!label && label.control === element;
    }

    // Whether a person could type into the field: rendered and seen, inside the page's area (not
    // pushed off-screen, not clipped to nothing, not 1×1), not covered, not disabled or read-only,
    // not hidden from assistive technology, not inert.
    function canSee(element) {
        if (!element || !element.isConnected || lower(element.type) === 'hidden')
            return false;
        const view = element.ownerDocument.defaultView;
        const style = view.getComputedStyle(element);
        if (style.visibility !== 'visible' || style.display === 'none' || Number(style.opacity) === 0)
            return false;
        if (element.closest('[aria-hidden="true"], [inert]'))
            return false;
        const box = visibleBox(element);
        if (!box || box.right - box.left <= 1 || box.bottom - box.top <= 1)
            return false;
        // The page's own area starts at its top left corner: a field left or above it is out of reach.
        if (box.right + view.scrollX <= 0 || box.bottom + view.scrollY <= 0)
            return false;
        const page = element.ownerDocument.documentElement;
        if (box.left + view.scrollX >= Math.max(page.scrollWidth, view.innerWidth) ||
            box.top + view.scrollY >= Math.max(page.scrollHeight, view.innerHeight))
            return false;
        return uncovered(element, box);
    }

    function canType(element) {
        return canSee(element) && !element.disabled && !element.readOnly;
    }

    // The fields that belong together: a form's own, or the inputs outside any form in one
    // document or shadow root.
    function groups(root) {
        const byForm = new Map();
        for (const input of deepInputs(root)) {
            const key = input.form || input.getRootNode();
            if (!byForm.has(key))
                byForm.set(key, []);
            byForm.get(key).push(input);
        }
        return Array.from(byForm, ([key, inputs]) => ({ form: key.tagName ? key : null, inputs }));
    }

    function captions(group) {
        const words = [];
        const container = group.form || (group.inputs[0] && group.inputs[0].parentElement);
        if (!container)
            return '';
        for (const control of container.querySelectorAll('button, input[type=submit], input[type=button], [role=button], a'))
            words.push(control.innerText || control.value || control.getAttribute('aria-label') || '');
        for (const heading of container.querySelectorAll('h1, h2, h3, h4, legend, [role=heading]'))
            words.push(heading.textContent);
        // The heading just before a form names it too.
        let before = container.previousElementSibling;
        for (let i = 0; before && i < 3; ++i, before = before.previousElementSibling) {
            if (/^h[1-4]$/.test(lower(before.tagName)))
                words.push(before.textContent);
        }
        return words.join(' ');
    }

    function formWords(group) {
        const form = group.form;
        return form ? [form.id, form.name, form.getAttribute('action'), form.className].join(' ') : '';
    }

    // 'login', 'signup', 'change' (a password change), 'code' (a one-time code) or 'other'.
    function classify(group) {
        const passwords = group.inputs.filter(element => isPasswordInput(element) && canSee(element));
        const fresh = passwords.filter(element => hasToken(element, 'new-password')).length;
        const current = passwords.filter(element => hasToken(element, 'current-password')).length;
        const said = captions(group) + ' ' + formWords(group);
        if (passwords.length >= 3 || (fresh && current) || (ChangeWords.test(said) && !LoginWords.test(said)))
            return 'change';
        if (fresh)
            return 'signup';
        const signUpWords = SignUpWords.test(said) && !LoginWords.test(said);
        if (passwords.length === 2 && !current)
            return 'signup';
        if (signUpWords)
            return 'signup';
        if (passwords.length)
            return 'login';
        if (group.inputs.some(element => canType(element) && isCodeField(element)))
            return 'code';
        return LoginWords.test(said) ? 'login' : 'other';
    }

    function isCodeField(element) {
        if (hasToken(element, 'one-time-code'))
            return true;
        const type = lower(element.type);
        return ['text', 'tel', 'number', ''].includes(type) && CodeHint.test(describe(element)) &&
               !AccountHint.test(describe(element));
    }

    // How strongly a field says it takes the account; 0 when it never does.
    function accountScore(element) {
        const type = lower(element.getAttribute('type') || '');
        const found = tokens(element);
        if (!AccountTypes.includes(type) || found.some(token => !AccountTokens.includes(token)))
            return 0;
        const words = describe(element);
        if (SearchHint.test(words) || lower(element.type) === 'search' || lower(element.getAttribute('role')) === 'searchbox')
            return 0;
        if (found.includes('username'))
            return 100;
        if (found.includes('email') || type === 'email')
            return 80;
        if (AccountHint.test(words))
            return 60;
        if (found.includes('tel') || type === 'tel')
            return 40;
        return 20;
    }

    // The account field of a login group: the one that says most clearly it is one; between
    // equals, the nearest before the password.
    function accountOf(group, password) {
        let best = null, bestScore = 0;
        const passwordAt = password ? group.inputs.indexOf(password) : group.inputs.length;
        group.inputs.forEach((element, at) => {
            let score = element === password ? 0 : accountScore(element);
            if (!score)
                return;
            // Position decides only between fields that say the same.
            score += at < passwordAt ? 1 + at / (group.inputs.length + 1) : 0;
            if (score > bestScore && canSee(element)) {
                best = element;
                bestScore = score;
            }
        });
        // A field after the password is an account field only when it says so itself.
        if (best && password && group.inputs.indexOf(best) > passwordAt && bestScore < 60)
            return null;
        return best;
    }

    // The login form of these documents: {doc, account, password} or, when there is none,
    // {doc: null, why} with why 'signup', 'change', 'code' or 'missing'. A login form without a
    // password field whose one account field stands alone is the first of two steps
    // ({doc, account, password: null, step: 'account'}). Cheap tests come first: a page of
    // thousands of inputs is looked at every few milliseconds while its form is awaited.
    function find(docs) {
        const all = [];
        for (const doc of docs) {
            for (const group of groups(doc))
                all.push({ doc, group, passwords: group.inputs.filter(isPasswordInput) });
        }
        const seen = new Set();
        for (const { doc, group, passwords } of all) {
            if (!passwords.length)
                continue;
            const kind = classify(group);
            seen.add(kind);
            const password = kind === 'login' ? passwords.find(canSee) : null;
            if (password)
                return { doc, account: accountOf(group, password), password };
        }
        let accountStep = null;
        for (const { doc, group, passwords } of all) {
            if (passwords.some(canSee))
                continue;
            if (group.inputs.some(element => isCodeField(element) && canType(element))) {
                seen.add('code');
                continue;
            }
            // The first of two steps: a form that says it is a login, or one whose single field
            // says it takes an account.
            const scored = group.inputs.map(element => ({ element, score: accountScore(element) }))
                               .filter(field => field.score > 0);
            if (!scored.length || accountStep)
                continue;
            const least = LoginWords.test(captions(group) + ' ' + formWords(group)) ? 20 : 60;
            if (!scored.some(field => field.score >= least))
                continue;
            const shown = scored.filter(field => canSee(field.element));
            if (shown.length === 1 && shown[0].score >= least)
                accountStep = { doc, account: shown[0].element, password: null, step: 'account' };
        }
        if (accountStep)
            return accountStep;
        const why = seen.has('signup') ? 'signup' : seen.has('change') ? 'change' : seen.has('code') ? 'code' : 'missing';
        return { doc: null, account: null, password: null, why };
    }

    qavex.lib.loginForm = { find, canType, canSee, classify, groups, isPasswordInput, accountScore };
})();
