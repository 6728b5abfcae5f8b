-- The tables of the store database that the lookup reads.
CREATE TABLE produto (
  produto_id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  descricao VARCHAR(120) NULL,
  labora VARCHAR(60) NULL,
  barras VARCHAR(20) NULL,
  apagado CHAR(1) NOT NULL DEFAULT 'N',
  INDEX produto_barras (barras)
) ENGINE=InnoDB;

CREATE TABLE barras (
  barras_id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  produto_id INT NOT NULL,
  barras VARCHAR(20) NOT NULL,
  apagado CHAR(1) NOT NULL DEFAULT 'N',
  INDEX barras_barras (barras),
  INDEX barras_produto (produto_id)
) ENGINE=InnoDB;

CREATE TABLE grupo_preco_filial (
  grupo_preco_filial_id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  filial_id INT NOT NULL,
  grupo_preco_id INT NOT NULL,
  apagado CHAR(1) NOT NULL DEFAULT 'N',
  INDEX gpf_filial (filial_id, grupo_preco_id)
) ENGINE=InnoDB;

CREATE TABLE grupo_preco_produto (
  grupo_preco_produto_id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  grupo_preco_id INT NOT NULL,
  produto_id INT NOT NULL,
  preco_vnd DECIMAL(14,4) NULL,
  desconto DECIMAL(7,4) NULL,
  preco_pro DECIMAL(14,4) NULL,
  valid_pro DATETIME NULL,
  dtiniciopromocao DATETIME NULL,
  apagado CHAR(1) NOT NULL DEFAULT 'N',
  INDEX gpp_grupo_produto (grupo_preco_id, produto_id),
  INDEX gpp_produto (produto_id)
) ENGINE=InnoDB;

CREATE TABLE filial_venda (
  filial_venda_id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  filial_id INT NOT NULL,
  tipo_preco_cotacao INT NULL,
  apagado CHAR(1) NOT NULL DEFAULT 'N',
  INDEX filial_venda_filial (filial_id)
) ENGINE=InnoDB;
