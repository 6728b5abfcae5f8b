-- A small catalogue for the demo: prices for three branches, promotions that
-- run and that ended, a barcode found only in `barras`, deleted rows.
INSERT INTO produto (produto_id, descricao, labora, barras, apagado) VALUES
  (1, 'DIPIRONA SÓDICA 500MG 10 COMPRIMIDOS', 'LABORATÓRIO MEDQUIMICA INDÚSTRIA FARMACÊUTICA', '7891000100103', 'N'),
  (2, 'PARACETAMOL 750MG 20 COMPRIMIDOS', 'EMS', '7891000100202', 'N'),
  (3, 'SORO FISIOLÓGICO 0,9% 500ML', 'EQUIPLEX', '7891000100301', 'N'),
  (4, 'XAROPE EXPECTORANTE 120ML (FORA DE LINHA)', 'ACHÉ', '7891000100400', 'S'),
  (5, 'PROTETOR SOLAR FPS 50 200ML', 'NIVEA', '7891000100509', 'N');

INSERT INTO barras (produto_id, barras, apagado) VALUES
  (3, '7891000100318', 'N'),
  (5, '7891000100516', 'S');

INSERT INTO grupo_preco_filial (filial_id, grupo_preco_id, apagado) VALUES
  (1, 10, 'N'),
  (2, 20, 'N'),
  (3, 30, 'N'),
  (1, 99, 'S');

-- Branch 1 (quote price off): an ended promotion, a running one, plain prices.
INSERT INTO grupo_preco_produto
  (grupo_preco_id, produto_id, preco_vnd, desconto, preco_pro, valid_pro, dtiniciopromocao, apagado) VALUES
  (10, 1, 20.00, 10, 15.90, CURDATE() - INTERVAL 1 DAY, CURDATE() - INTERVAL 30 DAY, 'N'),
  (10, 2, 12.50, 0, 9.99, CURDATE() + INTERVAL 10 DAY, CURDATE() - INTERVAL 10 DAY, 'N'),
  (10, 3, 7.35, 5, NULL, NULL, NULL, 'N'),
  (10, 4, 30.00, 0, NULL, NULL, NULL, 'N'),
  (10, 5, 89.90, 12.5, 69.90, CURDATE(), CURDATE(), 'N'),
  (99, 1, 1.00, 0, NULL, NULL, NULL, 'N'),
-- Branch 2 (quote price on): the same products, its own prices.
  (20, 1, 21.00, 10, 15.90, CURDATE() + INTERVAL 5 DAY, CURDATE() - INTERVAL 1 DAY, 'N'),
  (20, 2, 12.90, 0, NULL, NULL, NULL, 'N'),
  (20, 5, 92.00, 0, 79.00, CURDATE() + INTERVAL 3 DAY, CURDATE() + INTERVAL 1 DAY, 'N'),
-- Branch 3 (setting not filled in).
  (30, 1, 20.00, 0, NULL, NULL, NULL, 'N');

INSERT INTO filial_venda (filial_id, tipo_preco_cotacao, apagado) VALUES
  (1, 0, 'N'),
  (2, 1, 'N'),
  (3, NULL, 'N');
